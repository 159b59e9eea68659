#include "tools/kernel_reference/reference_scene.h"

#include <algorithm>
#include <cmath>

#include "tools/kernel_reference/reference_maths.h"

namespace reference {

Vec3 sun_direction(double sun_time) { return normalize({std::cos(sun_time), std::sin(sun_time), 2.5}); }

Vec3 camera_ray(const UniformBuffer& u, double px, double py) {
  double su = px * u.invRes.x, sv = 1.0 - py * u.invRes.y;
  Vec3 c = normalize({(2 * su - 1) * u.invRes.y / u.invRes.x, 2 * sv - 1, u.camFov});
  Vec3 f = normalize({u.camTarget.x, u.camTarget.y, u.camTarget.z});
  Vec3 r = normalize({-f.z, 0.0, f.x});
  Vec3 up = cross(r, f);
  Vec3 d = r * c.x + up * c.y + f * c.z;
  Vec2 xy = rotate(rotate({d.x, d.y}, u.camRoll), u.camPitch);
  return {xy.x, xy.y, d.z};
}

namespace {

CubeFamily family(double tick_input) {
  double e = eased_tick(tick_input);
  return {e, e * kPi / 2, 0.5 + 0.2 * std::fabs(std::sin(e * kPi))};
}

double box(Vec3 v) {
  Vec3 a{std::fabs(v.x) - 0.5, std::fabs(v.y) - 0.5, std::fabs(v.z) - 0.5};
  Vec3 outside{std::max(a.x, 0.0), std::max(a.y, 0.0), std::max(a.z, 0.0)};
  return length(outside) + std::min(std::max({a.x, a.y, a.z}), 0.0);
}

double cube(const CubeFamily& f, double x, Vec3 q) {
  Vec2 yz = rotate({q.y - f.height, mod_floor(q.z - f.tick, 4.0) - 2.0}, f.angle);
  return box({x, yz.x, yz.y});
}

}  // namespace

CubeField make_cube_field(double tau, double repeat) {
  return {family(-(2 * tau + kPi) / 2), family(-tau), repeat};
}

double field_distance(const CubeField& field, Vec3 q) {
  double x = std::fabs(q.x) < 4 * field.repeat ? mod_floor(q.x - 2, 4.0) - 2 : q.x;
  return std::min({cube(field.a, x + 1, q), cube(field.b, x - 1, q), q.y});
}

}  // namespace reference
