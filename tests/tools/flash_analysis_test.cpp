// The photosensitivity analysis on pictures with a known number of flashes a
// second: what counts as a flash (size of the change, the darker end, the
// area of a 10-degree field, saturated red) and how they are counted.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/capture/flash_count.h"

namespace {

constexpr int kWidth = 96, kHeight = 54;  // a 10-degree field is 32x24 here
constexpr int kFps = 30;

struct Rgb {
  uint8_t r, g, b;
};

// `seconds` of frames: frame k has a patch of `patch_w` x `patch_h` pixels in
// colour pick(k) on black.
std::vector<PeriodFlashes> analyse(double seconds, int patch_w, int patch_h, const std::function<Rgb(int)>& pick) {
  FlashTransitions transitions(kWidth * kHeight);
  FlashPeriods periods(kWidth, kHeight, kFps);
  std::vector<PeriodFlashes> out;
  std::vector<uint8_t> rgba(kWidth * kHeight * 4);
  for (int k = 0; k < seconds * kFps; ++k) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const Rgb c = x < patch_w && y < patch_h ? pick(k) : Rgb{0, 0, 0};
        uint8_t* p = &rgba[(y * kWidth + x) * 4];
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
      }
    out.push_back(periods.add_frame(transitions.add_frame(rgba.data())));
  }
  return out;
}

std::vector<FlashSecond> over(double seconds, const std::function<Rgb(int)>& pick) {
  return seconds_over_limit(analyse(seconds, kWidth, kHeight, pick), 0, kFps);
}

// Vertical black and white stripes, 4 pixels each, moving a pixel a frame:
// every pixel turns 7.5 times a second, but only an eighth of the screen turns
// either way in any frame.
std::vector<PeriodFlashes> moving_stripes(double seconds) {
  FlashTransitions transitions(kWidth * kHeight);
  FlashPeriods periods(kWidth, kHeight, kFps);
  std::vector<PeriodFlashes> out;
  std::vector<uint8_t> rgba(kWidth * kHeight * 4, 255);
  for (int k = 0; k < seconds * kFps; ++k) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        for (int c = 0; c < 3; ++c) rgba[(y * kWidth + x) * 4 + c] = ((x + k) / 4) % 2 ? 255 : 0;
    out.push_back(periods.add_frame(transitions.add_frame(rgba.data())));
  }
  return out;
}

// Alternates between two colours every `frames_each` frames.
std::function<Rgb(int)> toggle(Rgb a, Rgb b, int frames_each) {
  return [=](int k) { return (k / frames_each) % 2 ? b : a; };
}

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};

double most_general(const std::vector<PeriodFlashes>& periods) {
  double most = 0;
  for (const PeriodFlashes& p : periods) most = std::max(most, p.general);
  return most;
}

TEST(FlashAnalysis, CountsFlashesOfAWholeScreenAtTheirRate) {
  // 5 flashes a second (a change every 3 frames), and 2 (every 8).
  // Three seconds hold whole periods that begin in the first two.
  const auto fast = over(3, toggle(kBlack, kWhite, 3));
  ASSERT_EQ(fast.size(), 2u);
  for (int s = 0; s < 2; ++s) EXPECT_EQ(fast[s].second, s);
  EXPECT_DOUBLE_EQ(fast[1].general_flashes, 5.0);
  EXPECT_DOUBLE_EQ(fast[1].red_flashes, 0.0);
  EXPECT_DOUBLE_EQ(fast[1].area, 1.0);
  EXPECT_NEAR(fast[1].change, 1.0, 1e-6);
  EXPECT_DOUBLE_EQ(most_general(analyse(3, kWidth, kHeight, toggle(kBlack, kWhite, 8))), 2.0);
  EXPECT_TRUE(over(3, toggle(kBlack, kWhite, 8)).empty());
}

TEST(FlashAnalysis, AGradualChangeIsOneTransitionAndOnlyItsTurnsCount) {
  // A triangle wave, black to white in 5 frames and back: 3 flashes a second,
  // within the limit; the same in 4 frames turns 8 times in some seconds.
  auto triangle = [](int period) {
    return [period](int k) {
      const int phase = k % period, half = period / 2;
      const auto level = static_cast<uint8_t>(255 * (phase <= half ? phase : period - phase) / half);
      return Rgb{level, level, level};
    };
  };
  EXPECT_DOUBLE_EQ(most_general(analyse(2, kWidth, kHeight, triangle(10))), 3.0);
  EXPECT_TRUE(over(2, triangle(10)).empty());
  const auto faster = over(2, triangle(8));
  ASSERT_FALSE(faster.empty());
  EXPECT_DOUBLE_EQ(faster[0].general_flashes, 4.0);
}

TEST(FlashAnalysis, OnlyAQuarterOfAFieldChangingTogetherBelowTheBrightEndFlashes) {
  const auto fast = toggle(kBlack, kWhite, 3);
  // 16x12 is a quarter of the 32x24 field: it counts; 15x12 does not.
  EXPECT_DOUBLE_EQ(most_general(analyse(1, 16, 12, fast)), 4.5);
  EXPECT_DOUBLE_EQ(most_general(analyse(1, 15, 12, fast)), 0.0);
  // A strip as wide as the picture but 4 rows high: a sixth of any field.
  EXPECT_DOUBLE_EQ(most_general(analyse(1, kWidth, 4, fast)), 0.0);
  // A moving pattern flickers everywhere, but no area changes together.
  EXPECT_DOUBLE_EQ(most_general(moving_stripes(2)), 0.0);
  // White to a grey of 0.85 changes by 0.15, but the darker end is above 0.8;
  // black to a grey of 0.05 changes too little.
  EXPECT_TRUE(over(2, toggle(kWhite, {237, 237, 237}, 3)).empty());
  EXPECT_TRUE(over(2, toggle(kBlack, {63, 63, 63}, 3)).empty());
}

TEST(FlashAnalysis, SaturatedRedFlashesWhereLuminanceAloneDoesNot) {
  // Red against a grey of the same luminance: no general flash, 5 red ones.
  const auto red = over(3, toggle(kRed, {127, 127, 127}, 3));
  ASSERT_EQ(red.size(), 2u);
  EXPECT_DOUBLE_EQ(red[1].general_flashes, 0.0);
  EXPECT_DOUBLE_EQ(red[1].red_flashes, 5.0);
  // Blue against a grey changes colour as much, but is no red; a near-black
  // red is a saturated red by its share, but no red of substance.
  EXPECT_TRUE(over(2, toggle({0, 0, 255}, {80, 80, 80}, 3)).empty());
  EXPECT_TRUE(over(2, toggle({12, 0, 0}, kBlack, 3)).empty());
}

}  // namespace
