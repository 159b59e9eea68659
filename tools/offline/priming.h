#pragma once
// Two effects carry pictures from frame to frame: the sun shafts stop being
// computed at kShaftsEndRow and the composite keeps showing the last image made
// before it, and the logo particles step a field that was seeded some frames
// earlier. A capture that starts late (a still, or a range from a later
// time) renders, without keeping them, the frames that made that state in a
// capture from 0 at the same frame rate, so its pictures are the ones the
// intro shows.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "src/pass_schedule.h"

// The value of "PostProcess:glitchCredits" at a row.
using GlitchCreditsAt = std::function<double(double row)>;

struct Priming {
  std::vector<int64_t> frames;   // grid frames to render first, ascending
  bool shafts = false;           // the last frame that drew sun shafts is among them
  bool reset_particles = false;  // zero the particle state before them (and replay the field)
};

// What to render before showing a frame at `target` (any position, on the
// grid or not) when frames run at `fps`.
Priming plan_priming(uint32_t target, int fps, const GlitchCreditsAt& glitch_credits_at);

// "replaying 27 frames for the sun shafts and the logo particles", naming
// only the effects the plan replays; empty for a plan without frames.
std::string replay_text(const Priming& plan);
