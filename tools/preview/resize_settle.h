#pragma once
// The window's size while the author drags it: a drag sends dozens of sizes,
// and making the renderer again costs more than a frame, so it is made once,
// at the size the window settles at, when no new size has come for a moment.
#include <chrono>
#include <optional>

#include "src/render_sizes.h"

class ResizeSettle {
 public:
  using Clock = std::chrono::steady_clock;
  // Long enough to span the gaps between a drag's events, short enough that
  // the picture follows well within a second of the last one.
  static constexpr std::chrono::milliseconds kQuiet{250};

  void resized(Size size, Clock::time_point now);
  // The size to render at, once it has settled and differs from `current`;
  // given once per settled size.
  std::optional<Size> settled(Size current, Clock::time_point now);

 private:
  std::optional<Size> pending_;
  Clock::time_point last_;
};
