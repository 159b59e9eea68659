#pragma once
// Which keys a run evaluated, in 16 hex digits: the same for two runs exactly
// when their 21 tracks hold the same keys (rows, float32 bits, modes), however
// the keys got there (compiled in, or lists that spell them differently).
// Parts of one capture must agree on it before they are joined.
#include <string>

// Over the tracks of track_table as they are now.
std::string choreography_digest();
