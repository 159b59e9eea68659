// The two scene kernels through the whole runtime (virtual clock, the real
// choreography, images and sky panorama) at rows across their sections,
// compared with reference pictures of their output (the render texture).
//
// The references are 160x90 PNGs in tests/data/scenes/, one per row, storing
// each colour channel c as c / (1 + c) and the ray distance a as
// (a / 10) / (1 + a / 10), so that bright glow and far distances keep some
// precision in eight bits. A pixel matches when every channel is within
// 4/255 of the reference in that encoding; 99.5 % of the pixels must match
// (ray-marched silhouettes may flip a pixel when a compiler rounds
// differently). Regenerate them only on purpose, after a change that is
// meant to alter the pictures:
//
//   VELMORAND_REGENERATE_SCENE_REFERENCES=1 build/tests/scenes/scene_reference_images_test
//
// With VELMORAND_PNG_DIR set, the test also leaves the rendered encodings
// and the presented frames there, for a person to look at.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "src/headless_intro.h"
#include "tests/gpu/validation_check.h"

namespace {

constexpr int kWidth = 160, kHeight = 90;
constexpr int kTolerance = 4;  // in 1/255 of the encoding
constexpr double kMatchingShare = 0.995;

std::string reference_path(int row) {
  return std::string(VELMORAND_TEST_DATA) + "/scenes/row_" + std::to_string(row) + ".png";
}

uint8_t encode(float v) {
  float c = std::max(v, 0.0f);
  return static_cast<uint8_t>(std::lround(c / (1.0f + c) * 255.0f));
}

std::vector<uint8_t> encode_render(const std::vector<float>& rgba) {
  std::vector<uint8_t> out(rgba.size());
  for (size_t i = 0; i < rgba.size(); ++i) out[i] = encode(i % 4 == 3 ? rgba[i] / 10.0f : rgba[i]);
  return out;
}

std::vector<uint8_t> read_png(const std::string& path) {
  int w = 0, h = 0, n = 0;
  uint8_t* data = stbi_load(path.c_str(), &w, &h, &n, 4);
  if (!data) return {};
  std::vector<uint8_t> pixels;
  if (w == kWidth && h == kHeight) pixels.assign(data, data + size_t(w) * h * 4);
  stbi_image_free(data);
  return pixels;
}

void write_png(const std::string& path, const std::vector<uint8_t>& rgba) {
  stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4);
}

class SceneReferenceImages : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    intro = start_headless_intro({.screen = {kWidth, kHeight}, .validation = true}, &error).release();
    ASSERT_NE(intro, nullptr) << error;
  }
  static void TearDownTestSuite() {
    if (!intro) return;
    gpu_test::expect_validation_clean(*intro->device);
    stop_headless_intro(*intro);
    delete intro;
    intro = nullptr;
  }
  static HeadlessIntro* intro;
};
HeadlessIntro* SceneReferenceImages::intro = nullptr;

TEST_P(SceneReferenceImages, RenderTextureMatchesTheReference) {
  ASSERT_NE(intro, nullptr);
  const int row = GetParam();
  render_frame_at(*intro, static_cast<uint32_t>((row + 0.5) / 16.0 * 44100.0));
  std::vector<uint8_t> drawn = encode_render(intro->device->read_rgba16f(intro->renderer->renderTex, 0));
  ASSERT_EQ(drawn.size(), size_t(kWidth) * kHeight * 4);
  if (const char* dir = std::getenv("VELMORAND_PNG_DIR")) {
    write_png(std::string(dir) + "/scene_row_" + std::to_string(row) + ".png", drawn);
    write_png(std::string(dir) + "/frame_row_" + std::to_string(row) + ".png", back_buffer_pixels(*intro));
  }
  if (std::getenv("VELMORAND_REGENERATE_SCENE_REFERENCES")) {
    write_png(reference_path(row), drawn);
    GTEST_SKIP() << "wrote " << reference_path(row);
  }
  std::vector<uint8_t> expected = read_png(reference_path(row));
  ASSERT_EQ(expected.size(), drawn.size()) << "no 160x90 reference at " << reference_path(row);
  size_t matching = 0;
  int worst = 0;
  for (size_t p = 0; p < drawn.size(); p += 4) {
    int off = 0;
    for (int c = 0; c < 4; ++c) off = std::max(off, std::abs(int(drawn[p + c]) - int(expected[p + c])));
    matching += off <= kTolerance;
    worst = std::max(worst, off);
  }
  const size_t pixels = drawn.size() / 4;
  EXPECT_GE(double(matching), kMatchingShare * double(pixels))
      << pixels - matching << " of " << pixels << " pixels differ by more than " << kTolerance << "/255 at row "
      << row << " (worst " << worst << "/255)";
}

// First scene: the logo at daybreak, the lettering seen from above, the glow
// at sunset, the night sky with moon and stars; the finale: the corridor
// pulsing, flickering, and with the wide lens near the end.
INSTANTIATE_TEST_SUITE_P(AcrossBothScenes, SceneReferenceImages,
                         ::testing::Values(300, 500, 1000, 1300, 1450, 1700, 1950),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "row_" + std::to_string(info.param);
                         });

}  // namespace
