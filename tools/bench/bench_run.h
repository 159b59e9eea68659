#pragma once
// The measurements of velmorand-bench: the intro started headless with
// timestamp queries on, then, at each chosen time, warm-up frames and
// measured frames.

#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/bench/bench_options.h"
#include "tools/bench/bench_stats.h"
#include "tools/common/key_list_folder.h"

struct PassReport {
  std::string program;
  int calls = 0;  // dispatches or draws per frame
  Spread gpu;     // timestamps around it inside the frame
  Spread alone;   // wall clock of the pass run on its own
};

struct TimeReport {
  double seconds = 0;
  std::string section;
  std::vector<PassReport> passes;
  Spread gpu_total;            // all passes of a frame, by timestamps
  Spread alone_total;          // all passes, each run on its own
  Spread cpu_fill;             // the 27 evaluations and the block's upload
  Spread cpu_fill_and_record;  // run_frame up to the hand-over to the device
  Spread frame;                // one whole frame, wall clock
};

struct StartupReport {
  double device_ms = 0;
  double image_decode_ms = 0;
  double uploads_ms = 0;
  double programs_ms = 0;
  double lens_dirt_ms = 0;
  double soundtrack_ms = 0;  // MP3 decode and the sync tracks
};

struct BenchReport {
  Size screen, render;
  int bloom_levels = 0;
  std::string adapter;
  // What the times measure when they are not the platform's own (under
  // Wine); empty otherwise.
  std::string caveat;
  int frames = 0, warmup = 0;
  StartupReport startup;
  std::vector<TimeReport> times;
};

// The default times, one in each section of the pass chain.
std::vector<double> default_bench_times();

// Which part of the pass chain runs at a time.
std::string section_at(double seconds);

// False, with a message, when the intro cannot start at the size.
// `lists`, when given, are laid over the compiled-in keys once the intro has started.
bool run_bench(const BenchOptions& options, const KeyListFolder* lists, BenchReport* report, std::string* error);
