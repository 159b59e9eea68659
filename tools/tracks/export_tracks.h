#pragma once
// --export DIR: writes the compiled-in keys as 21 track files named as the
// registry (base "sync/") looks for them, so a choreographer can start from
// the shipped choreography.
#include <cstdio>
#include <string>
#include <vector>

#include "sync/track.h"

// The bytes of a track file holding these keys: little-endian int32 count,
// then per key int32 row, float32 value, int8 interpolation code.
std::vector<unsigned char> track_file_bytes(const TrackKey* keys, int key_count);

// Creates `dir` when missing and writes the 21 files into it, one line per file
// on `out`. Errors go to `err`; the result is a tool exit status.
int export_tracks(const std::string& dir, std::FILE* out, std::FILE* err);
