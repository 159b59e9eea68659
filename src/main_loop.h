#pragma once
// The intro's main loop: one waiting window event per iteration, otherwise
// one rendered frame; the test at the bottom, so the body always runs once.
// It ends on Escape, when the window is closed (or the intro is asked to
// end), or on the first frame whose time reaches 136 seconds.

#include "platform/window/window.h"
#include "src/renderer.h"
#include "src/soundtrack.h"

struct LoopResult {
  float last_frame_time = 0.0f;
  long frames = 0;
  long events = 0;
};

LoopResult run_main_loop(Renderer& r, PlaybackState& playback, platform::Window& window);
