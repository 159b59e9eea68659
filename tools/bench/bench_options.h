#pragma once
// What velmorand-bench is asked to measure.

#include <optional>
#include <string>
#include <vector>

#include "src/render_sizes.h"

struct BenchOptions {
  Size size{1280, 720};
  std::vector<double> at;  // empty: one time in each section of the intro
  int frames = 9;          // measured frames per time
  int warmup = 2;          // frames rendered before measuring, per time
  // Seconds to play in a real window with sound from the one --at time
  // (0 without it); 0: headless measurements.
  double realtime = 0;
  bool json = false;
  bool help = false;
  std::string choreography;  // a folder of key lists; empty: the compiled-in keys
};

std::optional<BenchOptions> parse_bench_options(int argc, const char* const* argv, std::string* error);

extern const char kBenchUsage[];
