#include "tools/kernel_reference/reference_particles.h"

#include <cmath>

#include "tools/kernel_reference/reference_maths.h"

namespace reference {

Vec4 seed_texel(const Image& logo, Vec2 inv_res, int x, int y) {
  Vec2 uv{x * inv_res.x, y * inv_res.y};
  Vec4 c = sample_bilinear(logo, {2 * uv.x - 0.5, 2 * uv.y - 0.5}, Address::Clamp);
  c = c * c.w;
  double luminance = 0.33 * (c.x + c.y + c.z);
  double n1 = simplex3({25 * uv.x, 25 * uv.y, 0.0}), n2 = simplex3({25 * uv.x, 25 * uv.y, 10.3});
  double r2 = dot(Vec2{2 * uv.x - 1, 2 * uv.y - 1}, Vec2{2 * uv.x - 1, 2 * uv.y - 1});
  return {30 * n1 * std::cos(uv.y) * r2, 30 * n2 * r2, 1.9 * c.w * luminance, 0.0};
}

Vec4 step_texel(const Image& state, int x, int y) {
  Vec4 acc;
  for (int i = -7; i <= 7; ++i)
    for (int j = -7; j <= 7; ++j) {
      Vec4 s = load_or_zero(state, x + i, y + j);
      Vec2 offset{s.x, s.y}, cell{double(i), double(j)};
      double mass = s.z;
      Vec2 q = cell + offset;
      double w = std::exp(-dot(q, q));
      Vec2 moved = (1 - mass) * (2.0 * offset + cell) + mass * offset;
      acc += Vec4{moved.x, moved.y, 1, 1} * (w * mass / kPi);
    }
  return {acc.x / (acc.z + 0.000001), acc.y / (acc.z + 0.000001), acc.z, acc.w};
}

Vec4 shade_pixel(const Image& state, Vec2 inv_res, int x, int y) {
  Vec2 uv{x * inv_res.x, y * inv_res.y};
  double density = sample_bilinear(state, uv, Address::Clamp).z;
  double s = uv.x + uv.y;
  Vec3 gradient{1.0 - 0.42 * s, 0.2 + 0.42 * s, 0.1 + 0.36 * s};
  return Vec4{gradient.x * density, gradient.y * density, gradient.z * density, density} * 2.5;
}

}  // namespace reference
