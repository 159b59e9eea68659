#pragma once
// --at SECONDS: the value of every track at one playback time, evaluated the
// way the runtime does it every frame.
#include <cstdio>

struct KeyListFolder;

inline constexpr int kCameraTrackCount = 6;  // the first six tracks: position and target

// Prints 27 "name value" lines: the 21 tracks at the row of `seconds`, then the
// six camera tracks at the look-ahead row, named "camera:pos_x@look-ahead" and
// so on. Each value is narrowed to float32, as the runtime stores it. The
// tracks are the intro's, with `lists` laid over them when given.
int print_values_at(float seconds, const KeyListFolder* lists, std::FILE* out, std::FILE* err);
