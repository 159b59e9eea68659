// Frames k and k+1 of a capture carry the time and rows of the intro's clock.
#include <gtest/gtest.h>

#include "src/headless_intro.h"
#include "sync/choreography.h"
#include "sync/track.h"
#include "tests/gpu/validation_check.h"
#include "tools/offline/offline_frames.h"

namespace {

constexpr int kCreditsTrack = 18;

// Independent of the capture's own arithmetic: integer division for the
// position, then the intro's float32 seconds and double rows.
float expected_time(int64_t k, int fps) {
  uint32_t samples = static_cast<uint32_t>(k * 44100 / fps);
  return static_cast<float>(static_cast<double>(samples)) / 44100.0f;
}
float expected_credits_id(float seconds) {
  double row = static_cast<double>(seconds) * 16.0 + 0.005;
  return static_cast<float>(
      static_cast<double>(static_cast<float>(track_value_at(track_table[kCreditsTrack], row))) - 1.0);
}

TEST(CaptureClock, ConsecutiveFramesShowTheirOwnTimeAndRow) {
  std::string error;
  auto intro = start_headless_intro({.screen = {160, 90}, .validation = true}, &error);
  ASSERT_NE(intro, nullptr) << error;
  for (int fps : {24, 60, 11}) {
    // A frame pair where the credits page turns between the two frames.
    int64_t k = 58LL * fps;
    while (k < 70LL * fps &&
           expected_credits_id(expected_time(k, fps)) == expected_credits_id(expected_time(k + 1, fps)))
      ++k;
    ASSERT_LT(k, 70LL * fps) << "no credits page turns between 58 and 70 s";
    for (int64_t frame : {k, k + 1}) {
      float t = render_grid_frame(*intro, frame, fps);
      EXPECT_EQ(t, expected_time(frame, fps)) << fps << " fps, frame " << frame;
      EXPECT_EQ(intro->renderer->uniforms.time, t);
      EXPECT_EQ(intro->renderer->uniforms.creditsId, expected_credits_id(t)) << fps << " fps, frame " << frame;
    }
  }
  gpu_test::expect_validation_clean(*intro->device);
  stop_headless_intro(*intro);
}

}  // namespace
