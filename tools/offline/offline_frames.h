#pragma once
// Rendering the intro's frames offline: frames on the clock grid, and the
// frames that build up carried state.

#include <cstdint>
#include <functional>

#include "src/headless_intro.h"
#include "tools/offline/priming.h"

// Shows grid frame k at `fps`; returns the frame's time.
float render_grid_frame(HeadlessIntro& intro, int64_t k, int fps);

// Renders the priming frames (after resetting the particle field when the
// plan says so), calling `frame_done`, when given, after each. False when
// interrupted.
bool run_priming(HeadlessIntro& intro, const Priming& plan, int fps, const std::function<void()>& frame_done = {});

// "PostProcess:glitchCredits" from the intro's own tracks.
GlitchCreditsAt intro_glitch_credits();
