#include "tests/scenes/reference/camera.h"

namespace ref {

namespace {

V3 v(float3 a) { return {a.x, a.y, a.z}; }

V3 ray_direction(const UniformBuffer& u, V2 p, V3 target) {
  float s = p.x * u.invRes.x, t = 1.0f - p.y * u.invRes.y;
  V3 c = normalize({(2 * s - 1) * u.invRes.y / u.invRes.x, 2 * t - 1, u.camFov});
  V3 f = normalize(target);
  V3 r = normalize({-f.z, 0, f.x});
  V3 up = cross(r, f);
  V3 d = r * c.x + up * c.y + f * c.z;
  V2 xy = rotate2(rotate2({d.x, d.y}, u.camRoll), u.camPitch);
  return {xy.x, xy.y, d.z};
}

}  // namespace

Ray camera_sample(const UniformBuffer& u, int x, int y, V3 n, int index) {
  for (int i = 0; i < index; ++i) n = {frac(n.x + 1.618034f), frac(n.y + 1.618034f), frac(n.z + 1.618034f)};
  float blend = 0.2f * n.z;
  V3 origin = v(u.camPos) + (v(u.camPosOld) - v(u.camPos)) * blend;
  V3 target = v(u.camTarget) + (v(u.camTargetOld) - v(u.camTarget)) * blend;
  return {origin, ray_direction(u, {x + n.x - 0.5f, y + n.y - 0.5f}, target)};
}

}  // namespace ref
