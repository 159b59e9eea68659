#include "tools/offline/frame_grid.h"

#include <cmath>

#include "src/frame_clock.h"

uint32_t frame_position(int64_t k, int fps) { return static_cast<uint32_t>(k * kClockRate / fps); }

int64_t first_frame_at(double seconds, int fps) { return static_cast<int64_t>(std::ceil(seconds * fps - 1e-9)); }

int64_t first_frame_from(uint32_t position, int fps) {
  // Smallest k with floor(k x rate / fps) >= position, i.e. k x rate >= position x fps.
  int64_t scaled = static_cast<int64_t>(position) * fps;
  return (scaled + kClockRate - 1) / kClockRate;
}

uint32_t seconds_to_position(double seconds) {
  return static_cast<uint32_t>(std::floor(seconds * kClockRate + 1e-6));
}

double position_row(uint32_t position) { return seconds_to_row(samples_to_seconds(position), 0.0); }
