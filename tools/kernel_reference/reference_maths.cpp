#include "tools/kernel_reference/reference_maths.h"

#include <algorithm>
#include <cmath>

namespace reference {

double mod_floor(double x, double y) { return x - y * std::floor(x / y); }

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

double ease(double t) { return t * t * (3.0 - 2.0 * t); }

double eased_tick(double x) {
  double f = x - std::floor(x);
  return std::floor(x) + ease(std::min(2.0 * f, 1.0));
}

Vec2 rotate(Vec2 v, double a) {
  double c = std::cos(a), s = std::sin(a);
  return {v.x * c + v.y * s, -v.x * s + v.y * c};
}

double hash_u2(uint32_t a, uint32_t b) {
  uint32_t x = (a ^ (b >> 1)) * 1103515245u;
  uint32_t y = (b ^ (a >> 1)) * 1103515245u;
  uint32_t n = 1103515245u * (x ^ (y >> 3));
  return n / 4294967296.0;
}

namespace {
double fract(double x) { return x - std::floor(x); }
Vec3 floor3(Vec3 v) { return {std::floor(v.x), std::floor(v.y), std::floor(v.z)}; }
Vec3 yzx(Vec3 v) { return {v.y, v.z, v.x}; }
Vec3 zxy(Vec3 v) { return {v.z, v.x, v.y}; }
Vec3 step0(Vec3 v) { return {v.x >= 0 ? 1.0 : 0.0, v.y >= 0 ? 1.0 : 0.0, v.z >= 0 ? 1.0 : 0.0}; }
Vec3 splat(double k) { return {k, k, k}; }
}  // namespace

Vec3 random3(Vec3 c) {
  double q = std::sin(dot(c, {17.0, 59.4, 15.0}));
  return Vec3{fract(q * 262144.0), fract(q * 32768.0), fract(q * 2097152.0)} - splat(0.5);
}

double simplex3(Vec3 p) {
  Vec3 s = floor3(p + splat((p.x + p.y + p.z) / 3.0));
  Vec3 x0 = p - s + splat((s.x + s.y + s.z) / 6.0);
  Vec3 e = step0(x0 - yzx(x0));
  Vec3 i1 = e * (splat(1.0) - zxy(e));
  Vec3 i2 = splat(1.0) - zxy(e) * (splat(1.0) - e);
  const Vec3 corner[4] = {s, s + i1, s + i2, s + splat(1.0)};
  const Vec3 x[4] = {x0, x0 - i1 + splat(0.1666667), x0 - i2 + splat(0.3333334), x0 - splat(0.4999999)};
  double sum = 0;
  for (int k = 0; k < 4; ++k) {
    double w = std::max(0.6 - dot(x[k], x[k]), 0.0);
    sum += w * w * w * w * dot(random3(corner[k]), x[k]);
  }
  return 52.0 * sum;
}

}  // namespace reference
