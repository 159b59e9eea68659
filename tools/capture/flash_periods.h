#pragma once
// Transitions into flashes over one-second periods. An area flashes when the
// pixels that complete a transition the same way in one frame cover at least
// a quarter of a 10-degree field; a flash is a pair of such opposing
// transitions of one field. A moving pattern, whose pixels brighten here and
// darken there in the same frame, is no flash. A period's count is the most
// flashes one field holds in the second that ends with the frame.

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
  double area = 0;    // share of the field that flashed most, at its largest
  double change = 0;  // the largest mean luminance change of its transitions
};

class FlashPeriods {
 public:
  FlashPeriods(int width, int height, int fps);
  PeriodFlashes add_frame(const FrameChanges& changes);

 private:
  struct AreaTransition {
    int64_t frame;
    double share;   // of the field
    double change;  // mean size of its pixels' changes
  };
  // Each field position's transitions, general or red.
  struct Fields {
    std::vector<int8_t> last;  // sign of its last transition, 0 none yet
    std::vector<std::deque<AreaTransition>> period;
  };
  struct Worst {
    size_t transitions = 0;
    double share = 0;
    double change = 0;
  };
  Worst add(Fields& fields, const std::vector<PixelChange>& changes);

  int width_, height_, fps_;
  FieldSize field_;
  int columns_, rows_;  // field positions
  int64_t frame_ = 0;
  Fields general_, red_;
};
