#pragma once
// Reducing a real-time run to what says whether it keeps up: the intervals
// between presents and the display refreshes they missed.

#include <vector>

struct IntervalStats {
  int count = 0;
  double median_ms = 0;
  double p99_ms = 0;  // nearest rank: 99 % of the intervals are this or shorter
  double worst_ms = 0;
};

// Zeros for no intervals.
IntervalStats interval_stats(std::vector<double> intervals_ms);

// Refreshes that passed without a new picture: an interval that spans k
// refresh periods (rounded to the nearest whole one, at least one) missed
// k - 1 of them. At 60 Hz a 33 ms interval missed one, a 17 ms one none,
// whatever the jitter of the moments it was measured at.
long missed_refreshes(const std::vector<double>& intervals_ms, double refresh_hz);
