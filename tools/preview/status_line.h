#pragma once
// The player's status: time, row, bar.beat, section, play state and loop,
// frames per second and the slowest pass of the last frame. Shown in the
// window title and on stderr, refreshed at most four times a second and only
// when it changed.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "tools/preview/transport.h"

struct StatusFields {
  uint32_t position = 0;
  bool paused = false;
  LoopRange loop;
  int64_t replayed = 0, replay_total = 0;  // of a replay under way (total 0: none)
  double fps = 0;
  std::vector<gpu::PassTiming> timings;  // of the last frame
};

// "56.000 s | row 896 | bar 28.1 | section 5 (row 896) | playing | 24.0 fps | slowest SkyKernel 3.1 ms";
// bars count from 0 (row / 32), beats from 1, sections from 1. During a
// replay "| replaying 120 of 490 frames" follows the play state.
std::string status_text(const StatusFields& fields);

class StatusRefresh {
 public:
  using Clock = std::chrono::steady_clock;
  explicit StatusRefresh(Clock::time_point start) : last_(start) {}
  // The frames a second since the previous refresh, and whether one is due.
  bool due(Clock::time_point now) const { return now - last_ >= std::chrono::milliseconds(250); }
  double fps(long frames_drawn, Clock::time_point now) const;
  // The text to show, when it differs from the one shown; marks the refresh.
  std::optional<std::string> take(const std::string& text, long frames_drawn, Clock::time_point now);

 private:
  Clock::time_point last_;
  long frames_at_last_ = 0;
  std::string shown_;
};
