#include "tools/preview/resize_settle.h"

void ResizeSettle::resized(Size size, Clock::time_point now) {
  pending_ = size;
  last_ = now;
}

std::optional<Size> ResizeSettle::settled(Size current, Clock::time_point now) {
  if (!pending_ || now - last_ < kQuiet) return std::nullopt;
  const Size size = *pending_;
  pending_.reset();
  // Dragged back to where it was, or a minimised window (no area to draw into).
  if ((size.width == current.width && size.height == current.height) || size.width <= 0 || size.height <= 0)
    return std::nullopt;
  return size;
}
