// The finale's corridor: a floor and a ceiling 5 units apart, twisting
// slowly about the z axis, each carrying endless columns of rolling cubes
// four units apart.
#ifndef CORRIDOR_FIELD_HLSLI
#define CORRIDOR_FIELD_HLSLI

#include "common.hlsli"

struct CorridorFrame {
  float2 twisted;   // (x_t, y_t): the corridor's own x and y at this z
  float3 repeated;  // (x' in [0, 4), distance above the nearer wall's cube rest, z)
};

CorridorFrame corridor_frame(float3 q) {
  CorridorFrame f;
  f.twisted = rotate2(q.xy, 0.02 * q.z);
  f.repeated = float3(mod_floor(f.twisted.x - 2.0, 4.0), abs(f.twisted.y) - 1.5, q.z);
  return f;
}

struct CorridorCubes {
  CubeFamily a;  // column at x' = 1
  CubeFamily b;  // column at x' = 3
};

// The corridor's cubes roll on the intro clock alone.
CorridorCubes make_corridor_cubes(float t) {
  CorridorCubes c;
  c.a = cube_family_a(t);
  c.b = cube_family_b(t);
  return c;
}

float3 corridor_local_a(CorridorFrame f, CorridorCubes c) {
  return cube_local(f.repeated.x, f.repeated.y, f.repeated.z, 1.0, c.a);
}

float3 corridor_local_b(CorridorFrame f, CorridorCubes c) {
  return cube_local(f.repeated.x, f.repeated.y, f.repeated.z, 3.0, c.b);
}

float corridor_walls(CorridorFrame f) { return 2.5 - abs(f.twisted.y); }

float corridor_cubes(CorridorFrame f, CorridorCubes c) {
  return min(cube_distance(corridor_local_a(f, c)), cube_distance(corridor_local_b(f, c)));
}

float corridor_distance(CorridorCubes c, float3 q) {
  CorridorFrame f = corridor_frame(q);
  return min(corridor_walls(f), corridor_cubes(f, c));
}

#endif
