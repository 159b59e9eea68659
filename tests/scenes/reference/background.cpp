#include "tests/scenes/reference/background.h"

#include <algorithm>
#include <cmath>

#include "tests/scenes/reference/noise.h"

namespace ref {

namespace {

float away_from_zero(float x) { return std::fabs(x) < 1e-6f ? (x < 0 ? -1e-6f : 1e-6f) : x; }

float cover(float f) { return saturate(1.5f * f - 0.5f); }

float smooth_clamped(float x) { return ease(saturate(x)); }

}  // namespace

V3 sun_direction(float sun_time) { return normalize({std::cos(sun_time), std::sin(sun_time), 2.5f}); }

V3 background(V3 d, V3 flat_sky, float time, float sun_time) {
  V3 s = sun_direction(sun_time);
  V3 w = normalize(d * -1.0f);

  float kA = smooth_clamped((dot(w, {0.8804509f, -0.17609018f, 0.44022545f}) - 0.999f) * 10000.0f);
  float kB = smooth_clamped((dot(w, {0.8661287f, -0.18160763f, 0.46566057f}) - 0.9991f) * -10000.0f);
  V3 night = V3{10, 9, 6} * (kA * kB);
  V2 plane{w.x / away_from_zero(w.z), w.y / away_from_zero(w.z)};
  float v1 = 2.0f * star_noise(plane * 800.0f + 10000.0f) - 1.0f;
  float v2 = 2.0f * star_noise(plane * 300.0f + 10000.0f) - 1.0f;
  night = night + V3{10, 8.5f, 7.5f} * (smooth_clamped((v1 - 0.95f) * 20.0f) * (1 - kA));
  night = night + V3{7, 8.5f, 10} * (smooth_clamped((v2 - 0.98f) * 50.0f) * (1 - kA));

  V2 c{w.x / away_from_zero(w.y), w.z / away_from_zero(w.y)};
  V2 drift = c + 100.0f + 0.05f * time;
  float c1 = cover(fbm({drift.x, drift.y, 0.1f * time}));
  float c2 = cover(fbm({drift.x + 0.05f * s.x, drift.y + 0.05f * s.z, 0.1f * time}));
  V3 cloud = 0.25f *
             (V3{3.0f, 2.85f, 2.7f} * std::max(c1 - c2, 0.0f) + V3{0.9f, 0.95f, 1.0f} * std::exp(-5.0f * c1));
  night = lerp(night, cloud, saturate(3.0f * c1));
  V3 day = lerp(flat_sky, cloud, saturate(0.4f * c1) * smooth_clamped(-w.y / 0.15f));

  float g = cover(fbm({0.125f * c.x + 100.0f, 0.5f * c.y + 100.0f, 0.1f * time}));
  float band = std::exp(-10.0f * (0.5f + 0.5f * std::cos(4.0f * 3.14f * g)));
  float a = w.x - 0.2f * time;
  V3 aurora = (0.1f * band) *
              V3{value_noise3({a, a, a}), value_noise3({w.y, w.y, w.y}), value_noise3({w.z, w.z, w.z})};
  float mask = smooth_clamped(2.5f * d.y) * smooth_clamped(-(s.y + 0.05f) / 0.15f);
  return day + (night + aurora) * mask;
}

}  // namespace ref
