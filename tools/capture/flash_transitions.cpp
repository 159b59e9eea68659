#include "tools/capture/flash_transitions.h"

#include <cmath>

namespace {

// The signed luminance change when the pixel completes a transition, else 0.
float luminance_step(float& turn, int8_t& moving, float now) {
  const float rise = now - turn;
  const bool turned_up = moving <= 0 && rise >= kFlashLuminanceStep && turn < kFlashDarkerBelow;
  const bool turned_down = moving >= 0 && -rise >= kFlashLuminanceStep && now < kFlashDarkerBelow;
  if (turned_up || turned_down) {
    moving = turned_up ? 1 : -1;
    turn = now;
    return rise;
  }
  // Still moving the same way: the turning point follows the extreme.
  if ((moving > 0 && now > turn) || (moving < 0 && now < turn)) turn = now;
  return 0;
}

// The chromaticity distance when the pixel completes a red transition, else
// 0; negative out of red.
float red_step(PixelMeasure& was, const PixelMeasure& now) {
  if (was.saturated_red == now.saturated_red) {
    was = now;
    return 0;
  }
  const float distance = std::hypot(now.u - was.u, now.v - was.v);
  if (distance <= kRedChromaticityStep || std::fabs(now.red_excess - was.red_excess) <= kRedExcessStep) return 0;
  was = now;
  return now.saturated_red ? distance : -distance;
}

}  // namespace

FlashTransitions::FlashTransitions(size_t pixels) : pixels_(pixels) {}

FrameChanges FlashTransitions::add_frame(const uint8_t* rgba) {
  FrameChanges out;
  for (size_t i = 0; i < pixels_.size(); ++i) {
    const PixelMeasure m = measure_pixel(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]);
    PixelState& p = pixels_[i];
    if (!started_) {
      p = {m.luminance, 0, m};
      continue;
    }
    if (const float g = luminance_step(p.turn, p.moving, m.luminance); g != 0)
      out.general.push_back({static_cast<uint32_t>(i), g});
    if (const float r = red_step(p.colour, m); r != 0) out.red.push_back({static_cast<uint32_t>(i), r});
  }
  started_ = true;
  return out;
}
