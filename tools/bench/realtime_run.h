#pragma once
// velmorand-bench --realtime: the intro as a viewer gets it, in a window
// covering the desktop with its sound, the clock read from the sound device
// before each frame, presents paced by the platform. What it measures is
// whether the machine keeps up with the display.

#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/bench/bench_options.h"
#include "tools/bench/realtime_stats.h"

struct SectionGpuTime {
  std::string section;
  int frames = 0;  // frames with timestamps
  double median_ms = 0;
  double worst_ms = 0;
};

struct RealtimeReport {
  Size screen;
  std::string adapter;
  // Why the figures are a stand-in's and not the platform's own (a software
  // renderer, Wine, a display without a refresh rate); empty otherwise.
  std::string caveat;
  bool sound = false;  // false: no output could be opened, a silent wall clock paced it
  double from_seconds = 0;
  double played_seconds = 0;  // wall clock from the first present to the last
  bool ended_early = false;   // Escape or the window closed
  double refresh_hz = 0;      // 0: the platform does not know
  IntervalStats intervals;
  long missed_refreshes = -1;            // -1: not counted, the rate being unknown
  std::vector<SectionGpuTime> sections;  // in the order they were reached
};

// False, with a message, when no window, device or start-up can be had.
bool run_realtime(const BenchOptions& options, RealtimeReport* report, std::string* error);
