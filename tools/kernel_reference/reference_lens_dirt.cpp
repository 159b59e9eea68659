#include "tools/kernel_reference/reference_lens_dirt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/kernel_reference/reference_maths.h"

namespace reference {

namespace {

double hash1(uint32_t m) { return hash_u2(m, m); }

double speck(Vec2 q, uint32_t n) {
  uint32_t cx = uint32_t(int32_t(std::floor(q.x))), cy = uint32_t(int32_t(std::floor(q.y)));
  double r = hash_u2(cy, cx);
  Vec2 f{2 * (q.x - std::floor(q.x)) - 1 + hash_u2(cy + 100, cx + 100) - 0.5,
         2 * (q.y - std::floor(q.y)) - 1 + r - 0.5};
  double sides = std::floor(10 * r) + 3;
  double theta = mod_floor(std::atan2(f.y, f.x) - kPi / (2 * sides), kPi / sides) - kPi / (2 * sides);
  double rho = length(f);
  Vec2 g{std::fabs(0.9 * rho * std::cos(theta)) - 0.1, std::fabs(0.9 * rho * std::sin(theta)) - 0.1};
  double d = length(Vec2{std::max(g.x, 0.0), std::max(g.y, 0.0)}) + std::min(std::max(g.x, g.y), 0.0) - 0.02;
  double shape = ease(clamp01(-50 * d));
  double b = hash_u2(cy + n, cx + n);
  return shape * b * b;
}

}  // namespace

double speck_layer(Vec2 p, double k, double aspect) {
  double amplitude = 1, scale = 0.5, total = 0;
  for (uint32_t n = 0; n < 9; ++n) {
    Vec2 q{scale * p.x * aspect, scale * p.y};
    q = q + 100.0 * Vec2{hash1(3 * n), hash1(n + 10000000)};
    q = q + k * Vec2{2 * hash1(n) - 1, 2 * hash1(n + 10000) - 1} * (1.0 / 250);
    Vec2 wobble = k * Vec2{2 * hash1(2 * n) - 1, 2 * hash1(n + 30000) - 1} * (1.0 / 100);
    q = q + Vec2{wobble.x * wobble.x, wobble.y * wobble.y};
    total += amplitude * speck(q, n);
    amplitude *= 0.45;
    scale *= 2;
  }
  return total;
}

Vec3 lens_dirt_pixel(int x, int y, int width, int height) {
  Vec2 inv{1.0 / width, 1.0 / height};
  Vec2 uv{(x + 0.5) * inv.x, (y + 0.5) * inv.y};
  Vec2 smear{0.5 * (2 * uv.x - 1) * inv.x, 0.5 * (2 * uv.y - 1) * inv.y};
  double aspect = double(width) / height;
  Vec3 acc;
  for (int i = 1; i <= 31; ++i) {
    double k = i - 1;
    acc.x += speck_layer(uv - i * smear, k, aspect);
    acc.y += speck_layer(uv, k, aspect);
    acc.z += speck_layer(uv + i * smear, k, aspect);
  }
  return acc * (1.0 / 8);
}

}  // namespace reference
