#include "tools/bench/bench_stats.h"

#include <algorithm>
#include <cmath>

double rounded(double value, double per_unit) { return std::round(value * per_unit) / per_unit; }

Spread spread_of(std::vector<double> samples) {
  if (samples.empty()) return {};
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  double median = n % 2 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
  return {median, samples.front()};
}

std::vector<ProgramTime> per_program(const std::vector<gpu::PassTiming>& passes) {
  std::vector<ProgramTime> programs;
  for (const auto& pass : passes) {
    auto same = std::find_if(programs.begin(), programs.end(),
                             [&](const ProgramTime& p) { return p.program == pass.label; });
    if (same == programs.end()) same = programs.insert(programs.end(), {pass.label, 0, 0.0});
    same->calls += 1;
    same->ms += pass.milliseconds;
  }
  return programs;
}
