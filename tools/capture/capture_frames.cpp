#include "tools/capture/capture_frames.h"

#include "sync/choreography.h"
#include "sync/track.h"
#include "tools/capture/frame_grid.h"
#include "tools/capture/interruption.h"
#include "tools/capture/progress_line.h"

namespace {

constexpr int kGlitchCreditsTrack = 20;

// Both state textures back to what start-up leaves: zeros, 8 bytes a texel.
void zero_particle_field(HeadlessIntro& intro) {
  Renderer& r = *intro.renderer;
  std::vector<uint8_t> zeros(static_cast<size_t>(r.renderWidth) * r.renderHeight * 8, 0);
  for (gpu::Texture t : r.particleStateTex)
    r.device.update_subresource(t, zeros, static_cast<uint32_t>(r.renderWidth) * 8);
}

}  // namespace

float render_grid_frame(HeadlessIntro& intro, int64_t k, int fps) {
  return render_frame_at(intro, frame_position(k, fps));
}

bool run_priming(HeadlessIntro& intro, const Priming& plan, int fps, ProgressLine& progress) {
  if (plan.reset_particles) zero_particle_field(intro);
  for (int64_t k : plan.frames) {
    if (interruption_requested()) return false;
    render_grid_frame(intro, k, fps);
    progress.frame_done();
  }
  return true;
}

GlitchCreditsAt intro_glitch_credits() {
  return [](double row) { return track_value_at(track_table[kGlitchCreditsTrack], row); };
}

bool all_targets_created(const HeadlessIntro& intro) {
  const Renderer& r = *intro.renderer;
  return r.backBuffer && r.renderTex && r.bloomTex && r.scatteringTex && r.skyTex && r.dirtTex &&
         r.particleStateTex[0] && r.particleStateTex[1];
}
