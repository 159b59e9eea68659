#include "tools/kernel_reference/reference_image.h"

#include <algorithm>
#include <cmath>

#include "platform/gpu/gpu.h"

namespace reference {

Vec4 Image::texel(int x, int y) const {
  const float* p = &rgba[(size_t(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

void Image::set(int x, int y, Vec4 v) {
  float* p = &rgba[(size_t(y) * width + x) * 4];
  p[0] = float(v.x), p[1] = float(v.y), p[2] = float(v.z), p[3] = float(v.w);
}

Image as_half(const Image& in) {
  Image out = in;
  for (float& f : out.rgba) f = gpu::half_to_float(gpu::float_to_half(f));
  return out;
}

Image from_bytes(int width, int height, const std::vector<uint8_t>& rgba) {
  Image out(width, height);
  for (size_t i = 0; i < out.rgba.size(); ++i) out.rgba[i] = rgba[i] / 255.0f;
  return out;
}

Vec4 load_or_zero(const Image& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return {};
  return image.texel(x, y);
}

namespace {
Vec4 addressed(const Image& image, int x, int y, Address mode) {
  if (mode == Address::Border) return load_or_zero(image, x, y);
  return image.texel(std::clamp(x, 0, image.width - 1), std::clamp(y, 0, image.height - 1));
}
}  // namespace

Vec4 sample_bilinear(const Image& image, Vec2 uv, Address mode) {
  double u = uv.x * image.width - 0.5, v = uv.y * image.height - 0.5;
  int x0 = int(std::floor(u)), y0 = int(std::floor(v));
  double fx = u - x0, fy = v - y0;
  Vec4 top = addressed(image, x0, y0, mode) * (1 - fx) + addressed(image, x0 + 1, y0, mode) * fx;
  Vec4 bottom = addressed(image, x0, y0 + 1, mode) * (1 - fx) + addressed(image, x0 + 1, y0 + 1, mode) * fx;
  return top * (1 - fy) + bottom * fy;
}

}  // namespace reference
