// The whole runtime, headless, with the virtual clock and validation on.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <set>
#include <string>

#include "src/frame_clock.h"
#include "src/headless_intro.h"
#include "tests/gpu/validation_check.h"

namespace {

class HeadlessIntroTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    intro = start_headless_intro({.screen = {160, 90}, .validation = true}, &error).release();
    ASSERT_NE(intro, nullptr) << error;
  }
  static void TearDownTestSuite() {
    if (!intro) return;
    gpu_test::expect_validation_clean(*intro->device);
    stop_headless_intro(*intro);
    delete intro;
    intro = nullptr;
  }
  // Writes what was drawn where a person can look at it, when asked to.
  static void keep_png(const std::string& name, const std::vector<uint8_t>& rgba) {
    const char* dir = std::getenv("VELMORAND_PNG_DIR");
    if (!dir) return;
    std::string path = std::string(dir) + "/" + name + ".png";
    stbi_write_png(path.c_str(), 160, 90, 4, rgba.data(), 160 * 4);
  }
  static HeadlessIntro* intro;
};
HeadlessIntro* HeadlessIntroTest::intro = nullptr;

uint32_t samples_at(double seconds) { return static_cast<uint32_t>(seconds * 44100.0); }

TEST_F(HeadlessIntroTest, FirstFrameIsBlackBecauseTheIntroFadesInFromBlack) {
  float t = render_frame_at(*intro, 0);
  EXPECT_EQ(t, 0.0f);
  auto px = back_buffer_pixels(*intro);
  ASSERT_EQ(px.size(), 160u * 90 * 4);
  // Whole 16 x 8 groups only: the last two rows are never written.
  for (size_t i = 0; i < 160u * 88 * 4; i += 4) {
    ASSERT_EQ(px[i] + px[i + 1] + px[i + 2], 0) << "pixel " << i / 4;
    ASSERT_EQ(px[i + 3], 255);
  }
}

TEST_F(HeadlessIntroTest, FramesAcrossTheIntroShowSomething) {
  for (double s : {10.0, 30.0, 60.0, 80.0, 95.0, 125.0}) {
    float t = render_frame_at(*intro, samples_at(s));
    EXPECT_NEAR(t, s, 1e-4);
    auto px = back_buffer_pixels(*intro);
    keep_png("frame_" + std::to_string(static_cast<int>(s)), px);
    std::set<uint32_t> colours;
    for (size_t i = 0; i < px.size(); i += 4) colours.insert(px[i] | px[i + 1] << 8 | px[i + 2] << 16);
    EXPECT_GT(colours.size(), 1u) << "a uniform picture at " << s << " s";
  }
}

TEST_F(HeadlessIntroTest, RunEndsOnTheFirstFrameAt136Seconds) {
  float before = render_frame_at(*intro, samples_at(135.99));
  float at_end = render_frame_at(*intro, 5997600);  // 136.0 s exactly
  EXPECT_GT(kEndSeconds, before);
  EXPECT_FALSE(kEndSeconds > at_end);
}

TEST(HeadlessIntroSizes, ScreensWithASideOfOnePixelRenderCleanly) {
  for (Size screen : {Size{1, 1}, Size{1, 90}, Size{160, 1}}) {
    SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height));
    std::string error;
    auto intro = start_headless_intro({.screen = screen, .validation = true}, &error);
    ASSERT_NE(intro, nullptr) << error;
    EXPECT_TRUE(intro->renderer->bloomTex);
    for (double s : {30.0, 110.0, 131.0}) render_frame_at(*intro, samples_at(s));
    EXPECT_EQ(back_buffer_pixels(*intro).size(), 4u * screen.width * screen.height);
    gpu_test::expect_validation_clean(*intro->device);
    stop_headless_intro(*intro);
  }
}

}  // namespace
