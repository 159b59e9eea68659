#include "tools/preview/sliced_replay.h"

#include <cstdio>

#include "tools/offline/offline_frames.h"
#include "tools/offline/progress_line.h"

namespace {

// The capture's progress counter is not the player's business.
std::FILE* discarded() {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  return sink != nullptr ? sink : stderr;
}

}  // namespace

bool SlicedReplay::advance(HeadlessIntro& intro, std::chrono::steady_clock::duration budget) {
  if (!reset_done_) {
    // The field is zeroed the capture's way; the frames follow one by one.
    ProgressLine progress(0, discarded());
    run_priming(intro, {.frames = {}, .reset_particles = plan_.reset_particles}, fps_, progress);
    reset_done_ = true;
  }
  const auto until = std::chrono::steady_clock::now() + budget;
  while (next_ < total()) {
    render_grid_frame(intro, plan_.frames[static_cast<size_t>(next_++)], fps_);
    if (std::chrono::steady_clock::now() >= until) break;
  }
  return next_ == total();
}
