#include "tools/bench/realtime_stats.h"

#include <algorithm>
#include <cmath>

IntervalStats interval_stats(std::vector<double> intervals) {
  if (intervals.empty()) return {};
  std::sort(intervals.begin(), intervals.end());
  const size_t n = intervals.size();
  const double median = n % 2 ? intervals[n / 2] : 0.5 * (intervals[n / 2 - 1] + intervals[n / 2]);
  const size_t p99_rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(n)));
  return {static_cast<int>(n), median, intervals[std::max<size_t>(p99_rank, 1) - 1], intervals.back()};
}

long missed_refreshes(const std::vector<double>& intervals, double refresh_hz) {
  const double period_ms = 1000.0 / refresh_hz;
  long missed = 0;
  for (double ms : intervals) missed += std::max(std::lround(ms / period_ms), 1L) - 1;
  return missed;
}
