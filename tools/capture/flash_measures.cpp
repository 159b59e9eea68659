#include "tools/capture/flash_measures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// sRGB's transfer function undone, once per code value.
const std::array<float, 256>& linear_table() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[i] = static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

// D65 white, where a black pixel's chromaticity is taken to lie, so that
// black to red is a change of colour and black to grey is none.
constexpr float kWhiteU = 0.19784f;
constexpr float kWhiteV = 0.46834f;

}  // namespace

PixelMeasure measure_pixel(uint8_t r8, uint8_t g8, uint8_t b8) {
  const auto& lin = linear_table();
  const float r = lin[r8], g = lin[g8], b = lin[b8];
  const float x = 0.4124f * r + 0.3576f * g + 0.1805f * b;
  const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
  const float z = 0.0193f * r + 0.1192f * g + 0.9505f * b;
  const float denominator = x + 15 * y + 3 * z;
  const float sum = r + g + b;
  PixelMeasure m{};
  m.luminance = y;
  m.u = denominator > 0 ? 4 * x / denominator : kWhiteU;
  m.v = denominator > 0 ? 9 * y / denominator : kWhiteV;
  m.red_excess = std::max(r - g - b, 0.0f);
  m.saturated_red = sum > 0 && r >= 0.8f * sum;
  return m;
}

FieldSize visual_field(int width, int height) {
  const int field_width = std::max(1, static_cast<int>(std::lround(width * 341.0 / 1024.0)));
  const int field_height = static_cast<int>(std::lround(field_width * 256.0 / 341.0));
  return {field_width, std::clamp(field_height, 1, height)};
}
