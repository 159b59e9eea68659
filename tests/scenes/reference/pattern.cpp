#include "tests/scenes/reference/pattern.h"

#include <cmath>

#include "tests/scenes/reference/noise.h"

namespace ref {

namespace {

float rim(float a) { return ease(saturate(100.0f * (std::fabs(a) - 0.99f))); }

}  // namespace

V3 face_pattern(float a, float b, const PatternInput& in) {
  const bool scene = in.tuning == Tuning::Scene;
  const float s = in.seed, T = in.time;
  float k = scene ? 0.5f * s + 0.2f : 0.25f * s + 0.2f;
  float W = scene ? k * (std::cos(a) + std::cos(b)) : 2.0f * k;
  float u = W * a - 0.5f, v = W * b - 0.5f;
  // Hh(100 s) and Hh(50 s), each with its two factors folded into one.
  float f = scene ? (20.0f * hash_scaled(10.31f * s) + 2.0f) * T
                  : (20.0f * hash_scaled(5.155f * s) + 2.0f) * (T + in.clock_offset);
  float t1 = u * std::cos(0.11f * u + f / 16.0f);
  float t2 = u * std::sin(0.05f * u + 0.025f * f);
  float t3 = v * std::cos(0.09f * v + 0.0375f * f);
  float t4 = v * std::sin(0.13f * v + 0.05f * f);
  float A = 0.875f * u * std::cos(t1 + t2 + 0.06f * T);
  float B = 0.75f * v * std::sin(t2 + t3 - 0.04f * T);
  float C = 0.5f * u * std::cos(t3 + t4 + 0.02f * T);
  float D = 0.625f * v * std::sin(t1 + t4 - 0.08f * T);
  float e_phase = scene ? 5.0f * s : 1.0f + 2.5f * s;
  float g_phase = scene ? 10.0f * s : 1.0f + 5.0f * s;
  float E = 0.25f * std::cos((0.11f * u * A + e_phase) * std::cos(0.05f * u * B));
  float G = 0.25f * std::sin((0.09f * v * C + g_phase) * std::sin(0.13f * v * D));
  float P = 0.25f * std::cos(A - C);
  float Q = 0.25f * std::sin(B - D);
  float X = Q + P - E + G;
  float Y = E - Q - P;
  float m = scene ? 30.0f * s + 10.0f : 15.0f * s + 10.0f;
  float n = value_noise2({m * X, m * Y});
  float g = 1.5f * n * n;
  V3 c{g + 0.5f * X, g - 0.5f * (X + Y), g + 0.5f * Y};
  float edge = saturate(rim(a) + rim(b));
  return V3{c.x * c.x * c.x, c.y * c.y * c.y, c.z * c.z * c.z} + edge;
}

V3 cube_emission(V3 l, V3 n, const PatternInput& in) {
  return std::fabs(n.x) * face_pattern(2 * l.y, 2 * l.z, in) +
         std::fabs(n.z) * face_pattern(2 * l.x, 2 * l.y, in) + std::fabs(n.y) * face_pattern(2 * l.x, 2 * l.z, in);
}

}  // namespace ref
