#include "tests/scenes/reference/fields.h"

#include <algorithm>
#include <cmath>

namespace ref {

float eased_tick(float x) { return std::floor(x) + ease(std::min(2.0f * frac(x), 1.0f)); }

CubeFamily cube_family(float tick_input) {
  float e = eased_tick(tick_input);
  return {e, e * kPi * 0.5f, 0.5f + 0.2f * std::fabs(std::sin(e * kPi))};
}

CubeFamily family_a(float tau) { return cube_family(-(2.0f * tau + kPi) * 0.5f); }
CubeFamily family_b(float tau) { return cube_family(-tau); }

V3 cube_local(float x, float y, float z, float xc, const CubeFamily& f) {
  V2 yz = rotate2({y - f.height, mod_floor(z - f.tick, 4.0f) - 2.0f}, f.angle);
  return {x - xc, yz.x, yz.y};
}

float cube_distance(V3 l) {
  V3 v{std::fabs(l.x) - 0.5f, std::fabs(l.y) - 0.5f, std::fabs(l.z) - 0.5f};
  V3 outside{std::max(v.x, 0.0f), std::max(v.y, 0.0f), std::max(v.z, 0.0f)};
  return length(outside) + std::min(std::max(v.x, std::max(v.y, v.z)), 0.0f);
}

float scene_cubes(V3 q, float tau, float repeat) {
  float x = std::fabs(q.x) < 4.0f * repeat ? mod_floor(q.x - 2.0f, 4.0f) - 2.0f : q.x;
  float a = cube_distance(cube_local(x, q.y, q.z, -1.0f, family_a(tau)));
  float b = cube_distance(cube_local(x, q.y, q.z, 1.0f, family_b(tau)));
  return std::min(a, b);
}

float scene_field(V3 q, float tau, float repeat) { return std::min(scene_cubes(q, tau, repeat), q.y); }

CorridorPoint corridor_point(V3 q) {
  V2 t = rotate2({q.x, q.y}, 0.02f * q.z);
  return {t, mod_floor(t.x - 2.0f, 4.0f), std::fabs(t.y) - 1.5f};
}

float corridor_walls(V3 q) { return 2.5f - std::fabs(corridor_point(q).twisted.y); }

float corridor_cubes(V3 q, float t) {
  CorridorPoint c = corridor_point(q);
  float a = cube_distance(cube_local(c.x_cell, c.above, q.z, 1.0f, family_a(t)));
  float b = cube_distance(cube_local(c.x_cell, c.above, q.z, 3.0f, family_b(t)));
  return std::min(a, b);
}

float corridor_field(V3 q, float t) { return std::min(corridor_walls(q), corridor_cubes(q, t)); }

}  // namespace ref
