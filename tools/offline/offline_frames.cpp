#include "tools/offline/offline_frames.h"

#include "sync/choreography.h"
#include "sync/track.h"
#include "tools/common/interruption.h"
#include "tools/offline/frame_grid.h"

float render_grid_frame(HeadlessIntro& intro, int64_t k, int fps) {
  return render_frame_at(intro, frame_position(k, fps));
}

bool run_priming(HeadlessIntro& intro, const Priming& plan, int fps, const std::function<void()>& frame_done) {
  if (plan.reset_particles) reset_particle_field(*intro.renderer);
  for (int64_t k : plan.frames) {
    if (interruption_requested()) return false;
    render_grid_frame(intro, k, fps);
    if (frame_done) frame_done();
  }
  return true;
}

GlitchCreditsAt intro_glitch_credits() {
  return [](double row) { return track_value_at(track_table[kGlitchCreditsTrack], row); };
}
