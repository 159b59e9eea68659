// The capture's clock: frames on the 44100/fps grid, ranges and typed times.
#include <gtest/gtest.h>

#include "src/frame_clock.h"
#include "tools/offline/frame_grid.h"

namespace {

TEST(FrameGrid, FramesKAndKPlusOneFallOnFlooredSamplePositions) {
  // 44100 / 24 = 1837.5: odd frames sit half a sample past a whole position.
  EXPECT_EQ(frame_position(1, 24), 1837u);
  EXPECT_EQ(frame_position(2, 24), 3675u);
  // 44100 / 11 = 4009.09...: the grid is uneven, never rounded up.
  EXPECT_EQ(frame_position(10, 11), 40090u);
  EXPECT_EQ(frame_position(11, 11), 44100u);
  for (int fps : {24, 25, 30, 60, 11, 1000}) {
    for (int64_t k : {0, 1, 7, 4079, 8159}) {
      uint32_t a = frame_position(k, fps), b = frame_position(k + 1, fps);
      EXPECT_LE(a * static_cast<int64_t>(fps), k * 44100) << fps << " fps, frame " << k;
      EXPECT_GT((a + 1) * static_cast<int64_t>(fps), k * 44100) << fps << " fps, frame " << k;
      EXPECT_GE(b - a, 44100u / fps);
      EXPECT_LE(b - a, (44100u + fps - 1) / fps);
    }
  }
}

TEST(FrameGrid, TimeAndRowOfConsecutiveFramesFollowTheIntroClock) {
  // Frame 8159 at 60 fps: 5996865 samples. The time is float32, the row double.
  float t0 = samples_to_seconds(frame_position(8159, 60));
  float t1 = samples_to_seconds(frame_position(8160, 60));
  EXPECT_EQ(t0, static_cast<float>(5996865.0) / 44100.0f);
  EXPECT_EQ(t1, 136.0f);
  EXPECT_DOUBLE_EQ(position_row(frame_position(8160, 60)), 136.0 * 16.0 + 0.005);
  EXPECT_LT(position_row(frame_position(8159, 60)), position_row(frame_position(8160, 60)));
}

TEST(FrameGrid, NothingDriftsOverTheWholeIntro) {
  for (int fps : {24, 30, 60}) EXPECT_EQ(frame_position(136LL * fps, fps), 136u * 44100u) << fps;
}

TEST(FrameGrid, RangesStartAtTheFirstFrameAtOrAfterATime) {
  EXPECT_EQ(first_frame_at(0.0, 60), 0);
  EXPECT_EQ(first_frame_at(136.0, 60), 8160);  // [0, 136) holds 8160 frames
  EXPECT_EQ(first_frame_at(0.1, 10), 1);       // 0.1 x 10 is a hair above 1 in doubles
  EXPECT_EQ(first_frame_at(0.7, 10), 7);       // and 0.7 x 10 a hair below 7
  EXPECT_EQ(first_frame_at(0.01, 60), 1);
  EXPECT_EQ(first_frame_at(1.0, 24) - first_frame_at(0.0, 24), 24);
}

TEST(FrameGrid, FirstFrameFromAPositionIsTheFirstNotBeforeIt) {
  for (int fps : {10, 24, 60}) {
    for (uint32_t p : {0u, 1u, 1837u, 1838u, 44100u, 5658030u}) {
      int64_t k = first_frame_from(p, fps);
      EXPECT_GE(frame_position(k, fps), p);
      if (k > 0) {
        EXPECT_LT(frame_position(k - 1, fps), p);
      }
    }
  }
}

TEST(FrameGrid, TypedSecondsBecomeTheSamePositionsAsGridFrames) {
  EXPECT_EQ(seconds_to_position(0.1), 4410u);
  EXPECT_EQ(seconds_to_position(128.3), frame_position(1283, 10));
  EXPECT_EQ(seconds_to_position(0.7), frame_position(7, 10));
  EXPECT_EQ(seconds_to_position(1.0 / 44100.0 * 0.5), 0u);
}

}  // namespace
