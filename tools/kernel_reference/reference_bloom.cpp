#include "tools/kernel_reference/reference_bloom.h"

#include "tools/kernel_reference/reference_maths.h"

namespace reference {

Vec3 bright_pass_pixel(const Image& source, Vec2 inv_res, int x, int y) {
  Vec2 uv{2 * (x + 0.5) * inv_res.x, 2 * (y + 0.5) * inv_res.y};
  Vec3 c = rgb(sample_bilinear(source, uv, Address::Clamp));
  double luminance = 0.33 * (c.x + c.y + c.z);
  return c * ease(clamp01((luminance - 0.9) * 1.6666666));
}

Vec3 bloom_filter_pixel(const Image& source, Vec2 inv_res, double shift, int x, int y) {
  struct Tap {
    int dx, dy;
    double weight;
  };
  static constexpr Tap kTaps[] = {{0, 0, 1},    {-1, -1, 0.5}, {1, -1, 0.5}, {-1, 1, 0.5}, {1, 1, 0.5},
                                  {2, 0, 0.25}, {-2, 0, 0.25}, {0, 2, 0.25}, {0, -2, 0.25}};
  Vec2 uv{(x + 0.5 + 0.25 * shift) * inv_res.x, (y + 0.5 + 0.25 * shift) * inv_res.y};
  Vec3 sum;
  for (const Tap& t : kTaps) {
    Vec2 at{uv.x + double(t.dx) / source.width, uv.y + double(t.dy) / source.height};
    sum += rgb(sample_bilinear(source, at, Address::Clamp)) * t.weight;
  }
  return sum * 0.25;
}

}  // namespace reference
