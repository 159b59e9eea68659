// Which earlier frames a late start replays, with the intro's own choreography.
#include <gtest/gtest.h>

#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "sync/track.h"
#include "tools/offline/frame_grid.h"
#include "tools/offline/priming.h"

namespace {

class PrimingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registry = start_sync_tracks(); }
  static void TearDownTestSuite() { registry_destroy(registry); }

  static double glitch_credits(double row) { return track_value_at(track_table[20], row); }
  static double glitch_at_frame(int64_t k, int fps) {
    return glitch_credits(position_row(frame_position(k, fps)));
  }
  static Priming plan(double seconds, int fps) {
    return plan_priming(seconds_to_position(seconds), fps, glitch_credits);
  }
  static bool consecutive(const std::vector<int64_t>& frames, size_t from) {
    for (size_t i = from + 1; i < frames.size(); ++i)
      if (frames[i] != frames[i - 1] + 1) return false;
    return true;
  }
  static TrackRegistry* registry;
};
TrackRegistry* PrimingTest::registry = nullptr;

TEST_F(PrimingTest, FramesWhileTheShaftsRunNeedNothingBefore) {
  for (double t : {0.0, 20.0, 71.9}) {
    Priming p = plan(t, 30);
    EXPECT_TRUE(p.frames.empty()) << t;
    EXPECT_FALSE(p.reset_particles) << t;
  }
}

TEST_F(PrimingTest, AfterTheShaftsStopTheLastFrameThatDrewThemComesFirst) {
  for (int fps : {1, 24, 30, 60}) {
    Priming p = plan(100.0, fps);
    ASSERT_EQ(p.frames.size(), 1u) << fps;
    int64_t k = p.frames[0];
    EXPECT_LT(position_row(frame_position(k, fps)), 1151.0) << fps;
    EXPECT_GE(position_row(frame_position(k + 1, fps)), 1151.0) << fps;
    EXPECT_FALSE(p.reset_particles);
    EXPECT_EQ(replay_text(p), "replaying 1 frame for the sun shafts");
  }
}

TEST_F(PrimingTest, ParticleStillsReplayFromTheLatestSeedingFrame) {
  const int fps = 60;
  Priming p = plan(130.0, fps);
  ASSERT_GE(p.frames.size(), 3u);
  EXPECT_TRUE(p.reset_particles);
  const int64_t seed = p.frames[1];  // frames[0] is the last frame with shafts
  double g = glitch_at_frame(seed, fps);
  EXPECT_GE(g, 100.0);
  EXPECT_LT(g, 100.5);
  for (int64_t k = seed + 1; k <= p.frames.back(); ++k)
    EXPECT_FALSE(glitch_at_frame(k, fps) >= 100.0 && glitch_at_frame(k, fps) < 100.5) << k;
  EXPECT_TRUE(consecutive(p.frames, 1));
  EXPECT_EQ(p.frames.back() + 1, first_frame_from(seconds_to_position(130.0), fps));
  EXPECT_EQ(replay_text(p),
            "replaying " + std::to_string(p.frames.size()) + " frames for the sun shafts and the logo particles");
}

TEST_F(PrimingTest, WithoutASeedOnTheLaterRowsTheEarlierSeedAndTheGapAreReplayed) {
  // At 10 fps no frame lands on rows [2045, 2046); the field comes from the
  // frames of row 2043, across the frame on the scene path between them.
  Priming p = plan(128.3, 10);
  ASSERT_GE(p.frames.size(), 3u);
  EXPECT_EQ(glitch_at_frame(p.frames[1], 10), 100.0);
  EXPECT_TRUE(consecutive(p.frames, 1));
  bool passes_scene_frame = false;
  for (size_t i = 1; i < p.frames.size(); ++i) passes_scene_frame |= glitch_at_frame(p.frames[i], 10) < 100.0;
  EXPECT_TRUE(passes_scene_frame);
}

TEST_F(PrimingTest, WithNoSeedingFrameAtAllTheFieldStartsFromZeros) {
  // At 2 fps no frame seeds; the first particle frame reads the zeroed field.
  Priming p = plan(129.0, 2);
  EXPECT_TRUE(p.reset_particles);
  ASSERT_GE(p.frames.size(), 2u);
  for (size_t i = 1; i < p.frames.size(); ++i) EXPECT_GE(glitch_at_frame(p.frames[i], 2), 100.0);
  EXPECT_LT(glitch_at_frame(p.frames[1] - 1, 2), 100.0);
}

TEST_F(PrimingTest, ASceneFrameBetweenTheSeedsNeedsNoParticles) {
  Priming p = plan((2044.5 - 0.005) / 16.0, 60);
  EXPECT_FALSE(p.reset_particles);
  EXPECT_EQ(p.frames.size(), 1u);
}

}  // namespace
