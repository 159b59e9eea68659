#pragma once
// The benchmark's results as a table for people or as JSON for scripts.

#include <string>

#include "tools/bench/bench_run.h"

std::string bench_text(const BenchReport& report);
std::string bench_json(const BenchReport& report);
