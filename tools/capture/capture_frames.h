#pragma once
// Rendering the intro's frames for a capture: frames on the clock grid, the
// frames that build up carried state, and the picture read back.

#include <cstdint>
#include <vector>

#include "src/headless_intro.h"
#include "tools/capture/priming.h"

class ProgressLine;

// Shows grid frame k at `fps`; returns the frame's time.
float render_grid_frame(HeadlessIntro& intro, int64_t k, int fps);

// Renders the priming frames (after zeroing the particle field when the plan
// says so), counting each in `progress`. False when interrupted.
bool run_priming(HeadlessIntro& intro, const Priming& plan, int fps, ProgressLine& progress);

// "PostProcess:glitchCredits" from the intro's own tracks.
GlitchCreditsAt intro_glitch_credits();

// Whether every texture the passes draw into exists; a size the device
// cannot hold leaves some of them out.
bool all_targets_created(const HeadlessIntro& intro);
