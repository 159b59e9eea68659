#pragma once
// Track keys and interpolation.
//
// A track is one animated parameter, described by keys on an integer axis of
// rows (16 rows per second of playback). This file defines the track,
// its keys, the four interpolation modes, the key search and the evaluation at
// a fractional row. Neither operation modifies the track or allocates memory.
#include <cstdint>

// How the value moves from a key to the next one. 32-bit signed in memory, one
// signed byte in track files.
enum class Interpolation : std::int32_t {
  Step = 0,    // holds the key's value until the next key
  Linear = 1,  // straight line to the next key's value
  Smooth = 2,  // cubic ease in and out, t*t*(3 - 2t)
  Ramp = 3,    // ease in, pow(t, 2.0)
};

// One key. 12 bytes: row, value, interpolation of the segment that starts here.
struct TrackKey {
  std::int32_t row;
  float value;
  Interpolation interpolation;
};
static_assert(sizeof(TrackKey) == 12);

// One named track. Owns its name and its keys (allocated with sync_malloc);
// the registry (sync/device.h) owns the track.
// Invariants, guaranteed by every producer of keys (the track-file loader and
// the compiled-in choreography), checked by none of the operations here: key_count >= 0; keys is null exactly when
// key_count is 0; rows strictly ascending.
struct Track {
  char* name;
  TrackKey* keys;
  std::int32_t key_count;
};

// The index of the key whose row equals `row`; if there is none, the one's
// complement (-p - 1) of the insertion point p, the number of keys whose row is
// below `row`. An empty track yields -1.
std::int32_t locate_key(const Track* track, std::int32_t row);

// The value of the track at a fractional row, in double precision. Step,
// Linear, Smooth and Ramp segments; clamped to the first key's value before the
// first key and to the last key's value from the last key on; 0.0 for an empty
// track. The caller narrows the result (the runtime stores float32).
double track_value_at(const Track* track, double row);
