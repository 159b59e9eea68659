#include "tests/scenes/reference/march.h"

#include <cmath>

#include "tests/scenes/reference/fields.h"

namespace ref {

namespace {

template <typename Field>
MarchEnd march(const Ray& r, float t, float far, Field field) {
  for (int i = 0; i < 256; ++i) {
    float f = field(r.origin + r.dir * t);
    t += f;
    if (std::fabs(f) < 0.001f || t > far) break;
  }
  return {t, field(r.origin + r.dir * t)};
}

}  // namespace

MarchEnd march_scene(const Ray& r, float tau, float repeat) {
  return march(r, 0.25f, 35.0f, [&](V3 q) { return scene_field(q, tau, repeat); });
}

MarchEnd march_corridor(const Ray& r, float time) {
  return march(r, 0.0f, 100.0f, [&](V3 q) { return corridor_field(q, time); });
}

}  // namespace ref
