#pragma once
// One-second periods into the seconds of the intro that exceed what the
// guidance allows: at most three general and three red flashes in any
// one-second period.

#include <cstdint>
#include <vector>

#include "tools/capture/flash_periods.h"

struct FlashSecond {
  int second;              // the whole second the worst period begins in
  double period_start;     // that period's start, in seconds
  double general_flashes;  // in that period
  double red_flashes;      // the most in a period beginning in this second
  double area;             // largest share of a 10-degree field flashing too often
  double change;           // largest mean luminance change of those flashes
};

// `periods[i]` is the period that ends with grid frame `first_frame + i` at `fps`.
std::vector<FlashSecond> seconds_over_limit(const std::vector<PeriodFlashes>& periods, int64_t first_frame,
                                            int fps);
