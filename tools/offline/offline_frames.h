#pragma once
// Rendering the intro's frames for a capture: frames on the clock grid, the
// frames that build up carried state, and the picture read back.

#include <cstdint>
#include <string>
#include <vector>

#include "src/headless_intro.h"
#include "tools/offline/priming.h"

class ProgressLine;

// Shows grid frame k at `fps`; returns the frame's time.
float render_grid_frame(HeadlessIntro& intro, int64_t k, int fps);

// Renders the priming frames (after zeroing the particle field when the plan
// says so), counting each in `progress`. False when interrupted.
bool run_priming(HeadlessIntro& intro, const Priming& plan, int fps, ProgressLine& progress);

// "PostProcess:glitchCredits" from the intro's own tracks.
GlitchCreditsAt intro_glitch_credits();

// "WxH".
std::string size_text(Size size);

// Why a screen of `size` is beyond a device's largest image side `limit`
// (0: no limit known); empty when it is not. `device` names the device.
std::string beyond_limit(Size size, int limit, const std::string& device);

// Why the started intro cannot render at its size: beyond its device's
// limit, or some texture the passes draw into could not be made. Empty when
// it can.
std::string size_problem(const HeadlessIntro& intro, Size size);
