#pragma once
// The small formulas several kernels share, in double precision.

#include <cstdint>

#include "tools/kernel_reference/reference_vector.h"

namespace reference {

constexpr double kPi = 3.14159265358979323846;

double mod_floor(double x, double y);
double clamp01(double x);
double ease(double t);  // t^2 (3 - 2t)

// Eases from n to n + 1 in the first half of each unit interval, then holds.
double eased_tick(double x);

// (x, y) -> (x cos a + y sin a, -x sin a + y cos a)
Vec2 rotate(Vec2 v, double a);

// The lens dirt's integer hash: 32-bit wrap-around arithmetic, result in [0, 1).
double hash_u2(uint32_t a, uint32_t b);

// Three values in [-0.5, 0.5) for a lattice point, and 3D simplex noise
// built on them.
Vec3 random3(Vec3 c);
double simplex3(Vec3 p);

}  // namespace reference
