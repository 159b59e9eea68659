#include "tools/preview/sliced_replay.h"

#include "src/renderer.h"
#include "tools/offline/offline_frames.h"

bool SlicedReplay::advance(HeadlessIntro& intro, std::chrono::steady_clock::duration budget) {
  if (!started_) {
    if (plan_.reset_particles) reset_particle_field(*intro.renderer);
    started_ = true;
  }
  const auto until = std::chrono::steady_clock::now() + budget;
  while (next_ < total()) {
    render_grid_frame(intro, plan_.frames[static_cast<size_t>(next_++)], fps_);
    if (std::chrono::steady_clock::now() >= until) break;
  }
  return next_ == total();
}
