#pragma once
// Transitions into flashes over one-second periods. A flash is a pair of
// opposing transitions; each pixel's transitions alternate, so a pixel
// flashes half as often as it has transitions. A period's count is what at
// least a quarter of some 10-degree field shares: the largest number of
// transitions that each pixel of such an area reaches.

#include <cstdint>
#include <deque>
#include <vector>

#include "tools/capture/flash_measures.h"
#include "tools/capture/flash_transitions.h"

inline constexpr double kFlashAreaShare = 0.25;
inline constexpr int kFlashesAllowedPerSecond = 3;

struct PeriodFlashes {
  double general = 0;  // flashes in the second that ends with this frame
  double red = 0;
  double area = 0;     // largest share of a 10-degree field flashing more than three times
  double change = 0;   // mean luminance change of its pixels' transitions there
};

class FlashPeriods {
 public:
  FlashPeriods(int width, int height, int fps);
  PeriodFlashes add_frame(FrameChanges changes);

 private:
  // Per pixel: transitions in the period, and the sum of their sizes.
  struct Tally {
    std::vector<uint16_t> count;
    std::vector<float> size;
    void add(const std::vector<PixelChange>& changes, int sign);
  };
  struct Coverage {
    double share;   // of the field
    double change;  // mean size there
  };
  Coverage widest(const Tally& tally, int level) const;
  int shared_level(const Tally& tally) const;

  int width_, height_, fps_;
  FieldSize field_;
  std::deque<FrameChanges> period_;
  Tally general_, red_;
};
