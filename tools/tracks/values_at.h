#pragma once
// --at SECONDS: the value of every track at one playback time, evaluated the
// way the runtime does it every frame.
#include <cstdio>

struct KeyListFolder;

// 1/60 s rounded to float32 and widened: how far ahead of the frame's time the
// six camera tracks are evaluated a second time, for motion blur.
inline constexpr double kCameraLookAheadSeconds = 0.01666666753590107;
inline constexpr int kCameraTrackCount = 6;  // the first six tracks: position and target

// The runtime's row rule: seconds widened to double, plus the look-ahead, times
// 16 rows per second, plus a bias of 0.005.
double seconds_to_row(float seconds, double look_ahead);

// Prints 27 "name value" lines: the 21 tracks at the row of `seconds`, then the
// six camera tracks at the look-ahead row, named "camera:pos_x@look-ahead" and
// so on. Each value is narrowed to float32, as the runtime stores it. The
// tracks are the intro's, with `lists` laid over them when given.
int print_values_at(float seconds, const KeyListFolder* lists, std::FILE* out, std::FILE* err);
