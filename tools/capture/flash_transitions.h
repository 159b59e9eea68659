#pragma once
// Each pixel's relative luminance (and its redness) followed from frame to
// frame, turned into the transitions it completes.
//
// General: a pixel completes a transition when its luminance has moved by at
// least 0.1 (a tenth of the maximum) from its last turning point, the darker
// end below 0.8; after that it counts as moving that way until it turns back
// by 0.1 again, so its transitions alternate. Red: a pixel completes one when
// it turns into or out of a saturated red and its colour moves more than 0.2
// on the u'v' diagram, with its red excess changing by more than 20/320 (the
// older working definition, which keeps near-black noise out).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/capture/flash_measures.h"

struct PixelChange {
  uint32_t pixel;  // index, rows top first
  float size;      // luminance change (red: u'v' distance), negative darker (out of red)
};

struct FrameChanges {
  std::vector<PixelChange> general;
  std::vector<PixelChange> red;
};

inline constexpr float kFlashLuminanceStep = 0.1f;
inline constexpr float kFlashDarkerBelow = 0.8f;
inline constexpr float kRedChromaticityStep = 0.2f;
inline constexpr float kRedExcessStep = 20.0f / 320.0f;

class FlashTransitions {
 public:
  explicit FlashTransitions(size_t pixels);
  // The transitions one RGBA8 picture completes; the first picture only sets
  // where every pixel starts.
  FrameChanges add_frame(const uint8_t* rgba);

 private:
  struct PixelState {
    float turn;           // luminance at the last turning point, or the extreme since
    int8_t moving;        // 0 not yet, +1 brightening, -1 darkening
    PixelMeasure colour;  // the colour at the last red transition (or start)
  };
  bool started_ = false;
  std::vector<PixelState> pixels_;
};
