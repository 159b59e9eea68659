#include "tools/offline/offline_frames.h"

#include "sync/choreography.h"
#include "sync/track.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/interruption.h"
#include "tools/offline/progress_line.h"

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

std::string size_text(Size size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::string beyond_limit(Size size, int limit, const std::string& device) {
  if (limit <= 0 || (size.width <= limit && size.height <= limit)) return "";
  return "the size " + size_text(size) + " is beyond what " + device + " allows: at most " +
         std::to_string(limit) + " pixels a side";
}

std::string size_problem(const HeadlessIntro& intro, Size size) {
  const std::string adapter = intro.device->adapter_name();
  std::string problem = beyond_limit(size, intro.device->max_image_side(), "the device (" + adapter + ")");
  if (!problem.empty()) return problem;
  const Renderer& r = *intro.renderer;
  const bool all_targets = r.backBuffer && r.renderTex && r.bloomTex && r.scatteringTex && r.skyTex &&
                           r.dirtTex && r.particleStateTex[0] && r.particleStateTex[1];
  return all_targets ? "" : "the device could not make every image at " + size_text(size);
}
