#pragma once
// --at SECONDS: the value of every track at one playback time, evaluated the
// way the runtime does it every frame.
#include <cstdio>

inline constexpr int kCameraTrackCount = 6;  // the first six tracks: position and target

// Prints 27 "name value" lines: the 21 tracks at the row of `seconds`, then the
// six camera tracks at the look-ahead row, named "camera:pos_x@look-ahead" and
// so on. Each value is narrowed to float32, as the runtime stores it.
int print_values_at(float seconds, std::FILE* out);
