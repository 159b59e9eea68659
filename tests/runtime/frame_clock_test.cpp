// Seconds, rows and the frame's constant block from the device position.
#include <cmath>
#include <cstring>

#include "src/frame_clock.h"
#include "sync/choreography.h"
#include "sync/track.h"
#include "tests/runtime/clock_fixture.h"

namespace {

TEST(ClockArithmetic, SecondsFromPlayedSamples) {
  EXPECT_EQ(samples_to_seconds(0), 0.0f);
  EXPECT_EQ(samples_to_seconds(44100), 1.0f);
  // Unsigned: counts from 2^31 on stay positive.
  EXPECT_FLOAT_EQ(samples_to_seconds(2147483648u), 2147483648.0f / 44100.0f);
  EXPECT_GT(samples_to_seconds(0xFFFFFFFFu), samples_to_seconds(2147483648u));
  // Rounded to float32 before the float32 division, not divided in double.
  uint32_t odd = 16777217;  // not representable in float32
  EXPECT_EQ(samples_to_seconds(odd), 16777216.0f / 44100.0f);
}

TEST(ClockArithmetic, RowsAndLookAheadRowsInDouble) {
  EXPECT_DOUBLE_EQ(seconds_to_row(0.0f, 0.0), 0.005);
  EXPECT_DOUBLE_EQ(seconds_to_row(0.0f, kLookAheadSeconds), 0.2716666805744171);
  EXPECT_DOUBLE_EQ(seconds_to_row(1.0f, 0.0), 16.005);
  EXPECT_DOUBLE_EQ(seconds_to_row(1.0f, kLookAheadSeconds), 16.271666680574416);
  EXPECT_DOUBLE_EQ(seconds_to_row(136.0f, 0.0), 2176.005);
  // A key at row r is reached once seconds >= (r - 0.005) / 16.
  EXPECT_LT(seconds_to_row(samples_to_seconds(3172430), 0.0), 1151.0);  // 71.937 s
  EXPECT_GE(seconds_to_row(samples_to_seconds(3172431), 0.0), 1151.0);
}

TEST(CreditsImage, PagesThreeToAnImage) {
  EXPECT_EQ(credits_image_index(0.0f), 0);
  EXPECT_EQ(credits_image_index(1.0f), 0);
  EXPECT_EQ(credits_image_index(2.0f), 0);
  EXPECT_EQ(credits_image_index(3.0f), 1);
  EXPECT_EQ(credits_image_index(79.0f), 26);
  EXPECT_EQ(credits_image_index(-0.5f), 0);
  EXPECT_EQ(credits_image_index(-1.0f), 0);
  EXPECT_EQ(credits_image_index(-2.0f), 0);
  EXPECT_EQ(credits_image_index(-3.0f), 0);  // index -1 is outside the table
  EXPECT_EQ(credits_image_index(81.0f), 0);  // index 27 is outside the table
  EXPECT_EQ(credits_image_index(1e30f), 0);
  EXPECT_EQ(credits_image_index(std::nanf("")), 0);
}

class FrameFill : public ClockFixture {
 protected:
  Renderer renderer{device, {1920, 1080}};
};

TEST_F(FrameFill, FrameCounterTimeAndElapsed) {
  UniformBuffer& u = renderer.uniforms;
  start_at(0);
  EXPECT_EQ(fill_frame_uniforms(renderer, playback), 0.0f);
  EXPECT_EQ(u.frame, 0u);
  EXPECT_EQ(u.time, 0.0f);
  fill_frame_uniforms(renderer, playback);
  EXPECT_EQ(u.frame, 0u) << "frames at position 0 all carry number 0";

  start_at(44100);
  EXPECT_EQ(fill_frame_uniforms(renderer, playback), 1.0f);
  EXPECT_EQ(u.frame, 1u);
  EXPECT_EQ(u.elapsed, 1.0f);
  fill_frame_uniforms(renderer, playback);
  EXPECT_EQ(u.frame, 2u) << "a standing clock still counts frames";
  EXPECT_EQ(u.elapsed, 0.0f);
  EXPECT_EQ(u.invRes.x, 1.0f / 1920.0f);
  EXPECT_EQ(u.invRes.y, 1.0f / 1080.0f);
  EXPECT_EQ(device.uploads().size(), 4u) << "one whole upload per fill";
}

// Each of the 27 evaluations takes its own position reading, in table order:
// with a clock that moves on at every query, each field shows the value of
// its track at the row of its own reading.
TEST_F(FrameFill, EveryEvaluationReadsTheClockAfresh) {
  struct Field {
    int track;
    bool ahead;
    size_t offset;
    int stored;
  };  // 0 v, 1 1-v, 2 v-1
#define F(t, a, f, s) \
  Field { t, a, offsetof(UniformBuffer, f), s }
  const Field order[27] = {
      F(0, true, camPosOld.x, 0),    F(1, true, camPosOld.y, 0),    F(2, true, camPosOld.z, 0),
      F(3, true, camTargetOld.x, 0), F(4, true, camTargetOld.y, 0), F(5, true, camTargetOld.z, 0),
      F(0, false, camPos.x, 0),      F(1, false, camPos.y, 0),      F(2, false, camPos.z, 0),
      F(3, false, camTarget.x, 0),   F(4, false, camTarget.y, 0),   F(5, false, camTarget.z, 0),
      F(6, false, camRoll, 0),       F(7, false, camPitch, 0),      F(8, false, camFov, 0),
      F(9, false, fadeBlack, 1),     F(10, false, fadeWhite, 0),    F(11, false, sunTime, 0),
      F(12, false, showLogo, 0),     F(13, false, cubeIllum, 0),    F(14, false, bloomFactor, 0),
      F(15, false, cubesRepeat, 0),  F(16, false, plasmaOffset, 0), F(17, false, textVlmArmy, 0),
      F(18, false, creditsId, 2),    F(19, false, glitchFactor, 0), F(20, false, glitchCreditFactor, 0),
  };
#undef F
  // Around rows 1016-1023 and 2040: steps, linear, smooth and ramp segments.
  for (uint32_t first : {2800000u, 2812000u, 3830000u, 3836500u}) {
    const uint32_t step = 101;
    start_at(first, step);
    fill_frame_uniforms(renderer, playback);
    for (int i = 0; i < 27; ++i) {
      const Field& f = order[i];
      float seconds = samples_to_seconds(first + step * (i + 1));
      double row = seconds_to_row(seconds, f.ahead ? kLookAheadSeconds : 0.0);
      float v = static_cast<float>(track_value_at(track_table[f.track], row));
      float expect = f.stored == 1 ? static_cast<float>(1.0 - v) : f.stored == 2 ? static_cast<float>(v - 1.0) : v;
      float got;
      std::memcpy(&got, reinterpret_cast<const char*>(&renderer.uniforms) + f.offset, 4);
      EXPECT_EQ(got, expect) << "evaluation " << i + 1 << " at sample " << first;
    }
  }
}

TEST_F(FrameFill, FadeAndCreditsTransformsAtKnownRows) {
  start_at(0);
  fill_frame_uniforms(renderer, playback);
  EXPECT_EQ(renderer.uniforms.fadeBlack, 0.0f) << "fade:black 1 at row 0";
  EXPECT_EQ(renderer.uniforms.creditsId, -1.0f) << "no credits page at the start";
  start_at(static_cast<uint32_t>(6.0 * 44100));  // row 96: fade:black is 0 from row 80
  fill_frame_uniforms(renderer, playback);
  EXPECT_EQ(renderer.uniforms.fadeBlack, 1.0f);
}

}  // namespace
