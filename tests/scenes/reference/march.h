#pragma once
// The primary marches of both scenes, to tell on the CPU which rays end on
// a surface and which count as misses.
#include "tests/scenes/reference/camera.h"

namespace ref {

struct MarchEnd {
  float t = 0;
  float field = 0;  // the field at the end point
};

// From t = 0.25 over the cube field, until |F| < 0.001 or t > 35.
MarchEnd march_scene(const Ray& r, float tau, float repeat);
// From t = 0 through the corridor, until |G| < 0.001 or t > 100.
MarchEnd march_corridor(const Ray& r, float time);

}  // namespace ref
