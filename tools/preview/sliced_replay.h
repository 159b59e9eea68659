#pragma once
// The carried effects' replay after a move, rendered a slice at a time so the
// window goes on answering in between: in the particle section a move
// replays up to about 490 frames, and the next move or quitting cuts it short.
#include <chrono>
#include <cstdint>

#include "src/headless_intro.h"
#include "tools/offline/priming.h"

class SlicedReplay {
 public:
  SlicedReplay(Priming plan, int fps) : plan_(std::move(plan)), fps_(fps) {}

  // Renders the next frames of the plan until `budget` has passed (one frame
  // at least, when any is left); true once every frame is rendered.
  bool advance(HeadlessIntro& intro, std::chrono::steady_clock::duration budget);

  int64_t done() const { return next_; }
  int64_t total() const { return static_cast<int64_t>(plan_.frames.size()); }

 private:
  Priming plan_;
  int fps_;
  int64_t next_ = 0;
  bool started_ = false;  // the particle field reset when the plan says so
};
