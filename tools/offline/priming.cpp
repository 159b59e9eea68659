#include "tools/offline/priming.h"

#include "tools/offline/frame_grid.h"

namespace {

// The last grid frame before the shafts stop: its image is what every later
// frame composites.
int64_t last_shafts_frame(int fps) {
  auto shafts = [fps](int64_t k) { return position_row(frame_position(k, fps)) < kShaftsEndRow; };
  int64_t k = first_frame_at(row_to_seconds(kShaftsEndRow), fps);
  while (shafts(k + 1)) ++k;
  while (k > 0 && !shafts(k)) --k;
  return k;
}

bool particle_path(double glitch_credits) { return glitch_credits >= kParticlePathFrom; }
bool seeds(double glitch_credits) { return particle_path(glitch_credits) && glitch_credits < kParticleSeedBelow; }

// The frame from which the particle field a frame before `end` reads is
// made: the latest seeding frame, or, when none comes before, the first frame
// on the particle path (which reads the field as the start-up left it).
int64_t particle_chain_start(int64_t end, int fps, const GlitchCreditsAt& glitch_credits_at) {
  int64_t start = end;
  for (int64_t k = end - 1; k >= 0; --k) {
    double g = glitch_credits_at(position_row(frame_position(k, fps)));
    if (seeds(g)) return k;
    if (particle_path(g)) start = k;
  }
  return start;
}

}  // namespace

Priming plan_priming(uint32_t target, int fps, const GlitchCreditsAt& glitch_credits_at) {
  Priming plan;
  const double row = position_row(target);
  const int64_t end = first_frame_from(target, fps);  // grid frames before the target: [0, end)
  if (row >= kShaftsEndRow) {
    int64_t k = last_shafts_frame(fps);
    plan.shafts = k < end;
    if (plan.shafts) plan.frames.push_back(k);
  }
  if (particle_path(glitch_credits_at(row))) {
    plan.reset_particles = true;
    for (int64_t k = particle_chain_start(end, fps, glitch_credits_at); k < end; ++k)
      if (plan.frames.empty() || k > plan.frames.back()) plan.frames.push_back(k);
  }
  return plan;
}

std::string replay_text(const Priming& plan) {
  if (plan.frames.empty()) return "";
  const size_t n = plan.frames.size();
  const bool particles = plan.reset_particles && n > (plan.shafts ? 1u : 0u);
  const char* effects = plan.shafts && particles ? "the sun shafts and the logo particles"
                        : plan.shafts            ? "the sun shafts"
                                                 : "the logo particles";
  return "replaying " + std::to_string(n) + (n == 1 ? " frame" : " frames") + " for " + effects;
}
