#pragma once
// The distance fields of both scenes: the rolling-cube field over the
// ground, and the twisting corridor.
#include "tests/scenes/reference/vec.h"

namespace ref {

float eased_tick(float x);

struct CubeFamily {
  float tick, angle, height;
};
CubeFamily cube_family(float tick_input);
// The two families at clock tau: ticks of -(2 tau + pi) / 2 and -tau.
CubeFamily family_a(float tau);
CubeFamily family_b(float tau);

// q in the frame of a cube of family f centred at x = xc; y is the height
// above the surface the cube rolls on.
V3 cube_local(float x, float y, float z, float xc, const CubeFamily& f);
float cube_distance(V3 local);

// Scene: rows at x = -1 (family A) and +1 (B), repeated every 4 units while
// |x| < 4 * repeat, over the ground y = 0.
float scene_cubes(V3 q, float tau, float repeat);
float scene_field(V3 q, float tau, float repeat);

// Corridor at intro time t.
struct CorridorPoint {
  V2 twisted;    // x_t, y_t
  float x_cell;  // x' in [0, 4)
  float above;   // |y_t| - 1.5
};
CorridorPoint corridor_point(V3 q);
float corridor_walls(V3 q);
float corridor_cubes(V3 q, float t);
float corridor_field(V3 q, float t);

}  // namespace ref
