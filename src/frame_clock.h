#pragma once
// The playback position of the audio device is the only clock: every frame
// it becomes seconds and rows of the choreography (16 rows per second), the
// 21 tracks are evaluated, and the constant block is filled and uploaded.

#include <cstdint>

#include "src/pass_schedule.h"
#include "src/renderer.h"
#include "src/soundtrack.h"

// One position query: played sample frames (unsigned 32-bit) -> double ->
// float32, divided in float32 by the clock rate.
float playback_seconds(PlaybackState& playback);
float samples_to_seconds(uint32_t samples);

// A fresh row for a gate: a new position reading, no look-ahead.
double current_row(PlaybackState& playback);

// Fills the host block for one frame (time, frame counter, elapsed, invRes,
// 27 track values each on a fresh position) and uploads it. Returns the
// frame's time in seconds.
float fill_frame_uniforms(Renderer& r, PlaybackState& playback);

// Which of the 27 credits images holds the page creditsId selects.
int32_t credits_image_index(float creditsId);
