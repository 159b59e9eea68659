#pragma once
// One rendered frame: the fill of the constant block, then the fixed chain of
// passes (sky, scene or logo particles, sun shafts, bloom down and up, the
// composite into the back buffer) with their row gates, and the present.

#include "src/renderer.h"
#include "src/soundtrack.h"

// Returns the frame's time in seconds, which the main loop tests for the end.
float run_frame(Renderer& r, PlaybackState& playback);
