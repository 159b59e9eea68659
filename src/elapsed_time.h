#pragma once
// Milliseconds between two readings of a clock: the start-up split the
// benchmark reports, and the tools' own timings.

#include <chrono>

template <typename TimePoint>
double ms_between(TimePoint from, TimePoint to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

inline double ms_since(std::chrono::steady_clock::time_point start) {
  return ms_between(start, std::chrono::steady_clock::now());
}
