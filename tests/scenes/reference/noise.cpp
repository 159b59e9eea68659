#include "tests/scenes/reference/noise.h"

#include <algorithm>
#include <cmath>

namespace ref {

float Hh(float x) { return hash_scaled(x * 0.1031f); }

float hash_scaled(float scaled) {
  float q = frac(scaled);
  V3 v{q, q, q};
  float d = dot(v, V3{v.y, v.z, v.x} + 19.19f);
  v = v + d;
  return frac((v.x + v.y) * v.z);
}

float H(uint32_t a, uint32_t b) {
  uint32_t x = (a ^ (b >> 1)) * 1103515245u;
  uint32_t y = (b ^ (a >> 1)) * 1103515245u;
  uint32_t n = 1103515245u * (x ^ (y >> 3));
  return static_cast<float>(n) / 4294967296.0f;
}

namespace {

float pattern_corner(float x, float y) {
  float cx = 17.0f * frac(x * 0.3183099f + 0.1f);
  float cy = 17.0f * frac(y * 0.3183099f + 0.1f);
  return frac(cx * cy * 1.7f * (cx + cy + 1.7f));
}

float sky_corner(float x, float y, float z) {
  float qx = 17.0f * frac(x * 0.3183099f + 0.1f);
  float qy = 17.0f * frac(y * 0.3183099f + 0.1f);
  float qz = 17.0f * frac(z * 0.3183099f + 0.1f);
  return frac(qx * qy * qz * (qx + qy + qz));
}

uint32_t lattice(float x) {
  return static_cast<uint32_t>(static_cast<int32_t>(std::clamp(x, -2147483520.0f, 2147483520.0f)));
}

}  // namespace

float value_noise2(V2 p) {
  float ix = std::floor(p.x), iy = std::floor(p.y);
  float ux = ease(p.x - ix), uy = ease(p.y - iy);
  float bottom = lerp(pattern_corner(ix, iy), pattern_corner(ix + 1, iy), ux);
  float top = lerp(pattern_corner(ix, iy + 1), pattern_corner(ix + 1, iy + 1), ux);
  return lerp(bottom, top, uy);
}

float value_noise3(V3 p) {
  float ix = std::floor(p.x), iy = std::floor(p.y), iz = std::floor(p.z);
  float ux = ease(p.x - ix), uy = ease(p.y - iy), uz = ease(p.z - iz);
  auto layer = [&](float z) {
    float bottom = lerp(sky_corner(ix, iy, z), sky_corner(ix + 1, iy, z), ux);
    float top = lerp(sky_corner(ix, iy + 1, z), sky_corner(ix + 1, iy + 1, z), ux);
    return lerp(bottom, top, uy);
  };
  return lerp(layer(iz), layer(iz + 1), uz);
}

float fbm(V3 p) {
  V3 warp{std::cos(p.x), std::cos(p.y), std::cos(p.z)};
  float amplitude = 1.0f, frequency = 0.25f, sum = 0.0f;
  for (int i = 0; i < 6; ++i) {
    amplitude *= 0.5f;
    frequency *= 2.0f;
    sum += amplitude * value_noise3(p * frequency + warp);
  }
  return sum;
}

float star_noise(V2 p) {
  float ix = std::floor(p.x), iy = std::floor(p.y);
  float ux = ease(p.x - ix), uy = ease(p.y - iy);
  uint32_t x0 = lattice(ix), y0 = lattice(iy);
  float bottom = lerp(H(x0, y0), H(x0 + 1, y0), ux);
  float top = lerp(H(x0, y0 + 1), H(x0 + 1, y0 + 1), ux);
  return lerp(bottom, top, uy);
}

}  // namespace ref
