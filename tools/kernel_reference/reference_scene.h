#pragma once
// The camera and the field of rolling cubes, as the scene kernels and the
// sun shafts share them.

#include "src/uniform_block.h"
#include "tools/kernel_reference/reference_vector.h"

namespace reference {

Vec3 sun_direction(double sun_time);

// World direction of the camera ray through pixel position (px, py), with
// the block's invRes, camTarget, camFov, camRoll and camPitch.
Vec3 camera_ray(const UniformBuffer&, double px, double py);

struct CubeFamily {
  double tick = 0, angle = 0, height = 0;
};

struct CubeField {
  CubeFamily a, b;
  double repeat = 0;
};

// The two families at clock tau, rows repeated while |x| < 4 * repeat.
CubeField make_cube_field(double tau, double repeat);

// Cubes and the ground plane y = 0.
double field_distance(const CubeField&, Vec3 q);

}  // namespace reference
