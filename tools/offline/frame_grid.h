#pragma once
// Where offline frames sit on the intro's clock. The virtual audio device is
// the clock, so a frame is a count of played sample frames: frame k at N
// frames per second is shown at floor(k x kClockRate / N), in integers, so
// that nothing drifts however long the capture runs.

#include <cstdint>

#include "src/pass_schedule.h"

// Played sample frames at which frame k is shown.
uint32_t frame_position(int64_t k, int fps);

// The first frame shown at or after `seconds` (frames of a range [from, to)
// are first_frame_at(from) .. first_frame_at(to) - 1).
int64_t first_frame_at(double seconds, int fps);

// The first frame whose position is at or after `position`.
int64_t first_frame_from(uint32_t position, int fps);

// A time typed in seconds as a device position, floored like the frames are;
// the tiny bias keeps 0.1 s from landing one sample short through rounding.
uint32_t seconds_to_position(double seconds);

// The row a pass gate sees in a frame shown at `position` (no look-ahead).
double position_row(uint32_t position);
