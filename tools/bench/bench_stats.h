#pragma once
// Reducing repeated measurements to the figures the benchmark reports.

#include <string>
#include <vector>

#include "platform/gpu/gpu.h"

// `value` to 1/`per_unit` (1e3: three decimals). Dividing by the power of
// ten gives the double that prints as that short decimal, so a report reads
// like the table.
double rounded(double value, double per_unit);

struct Spread {
  double median_ms = 0;
  double min_ms = 0;
};

// Median (the mean of the middle two for an even count) and minimum; zeros
// for no samples.
Spread spread_of(std::vector<double> samples_ms);

// One frame's GPU time per program: the dispatches and draws of a program
// added up (the bloom programs run once per level), in the order each
// program first ran.
struct ProgramTime {
  std::string program;
  int calls = 0;
  double ms = 0;
};
std::vector<ProgramTime> per_program(const std::vector<gpu::PassTiming>& passes);
