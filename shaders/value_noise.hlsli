// Value noises of the scene kernels: lattice corners get a pseudo-random
// value and the cubic ease blends them. The corner hashes differ on purpose:
// the cube pattern, the sky layers and the stars were tuned on these exact
// ones, so each keeps its own.
#ifndef VALUE_NOISE_HLSLI
#define VALUE_NOISE_HLSLI

#include "common.hlsli"

float2 ease2(float2 t) { return t * t * (3.0 - 2.0 * t); }
float3 ease3(float3 t) { return t * t * (3.0 - 2.0 * t); }

// The corner hashes keep only the fraction of a product that reaches the
// hundred thousands, so a single rounding decides their value: `precise`
// stops the compiler from fusing the multiply-adds, which would make the
// noise differ from one GPU (and driver) to the next.

// Corner value of the cube pattern's noise.
float pattern_corner(float2 cell) {
  precise float2 c = 17.0 * frac(cell * 0.3183099 + 0.1);
  precise float h = c.x * c.y * 1.7 * (c.x + c.y + 1.7);
  return frac(h);
}

// Two-dimensional value noise of the cube pattern, in [0, 1).
float value_noise2(float2 p) {
  float2 i = floor(p);
  float2 u = ease2(p - i);
  float a = pattern_corner(i);
  float b = pattern_corner(i + float2(1.0, 0.0));
  float c = pattern_corner(i + float2(0.0, 1.0));
  float d = pattern_corner(i + float2(1.0, 1.0));
  return lerp(lerp(a, b, u.x), lerp(c, d, u.x), u.y);
}

// Corner value of the sky's three-dimensional noise.
float sky_corner(float3 corner) {
  precise float3 q = 17.0 * frac(corner * 0.3183099 + 0.1);
  precise float h = q.x * q.y * q.z * (q.x + q.y + q.z);
  return frac(h);
}

// Three-dimensional value noise on the unit lattice, in [0, 1).
float value_noise3(float3 p) {
  float3 i = floor(p);
  float3 u = ease3(p - i);
  float c000 = sky_corner(i);
  float c100 = sky_corner(i + float3(1.0, 0.0, 0.0));
  float c010 = sky_corner(i + float3(0.0, 1.0, 0.0));
  float c110 = sky_corner(i + float3(1.0, 1.0, 0.0));
  float c001 = sky_corner(i + float3(0.0, 0.0, 1.0));
  float c101 = sky_corner(i + float3(1.0, 0.0, 1.0));
  float c011 = sky_corner(i + float3(0.0, 1.0, 1.0));
  float c111 = sky_corner(i + float3(1.0, 1.0, 1.0));
  float near = lerp(lerp(c000, c100, u.x), lerp(c010, c110, u.x), u.y);
  float far = lerp(lerp(c001, c101, u.x), lerp(c011, c111, u.x), u.y);
  return lerp(near, far, u.z);
}

// Six octaves from frequency 0.5 up, each half as strong as the one before,
// all warped by the cosine of the unscaled point (clouds and aurora).
float fbm(float3 p) {
  float3 warp = cos(p);
  float amplitude = 1.0;
  float frequency = 0.25;
  float sum = 0.0;
  // A real loop: the scene kernel inlines fbm six times, and unrolled they
  // make its Direct3D program 1.7 times larger; lavapipe is no slower.
  [loop] for (int i = 0; i < 6; ++i) {
    amplitude *= 0.5;
    frequency *= 2.0;
    sum += amplitude * value_noise3(p * frequency + warp);
  }
  return sum;
}

// Lattice index of a coordinate as the integer hash takes it. Far from the
// origin the coordinate is clamped first: converting a float beyond the
// 32-bit range is undefined, and no star field is visible out there anyway.
uint lattice_index(float x) { return asuint(int(clamp(x, -2147483520.0, 2147483520.0))); }

// Two-dimensional value noise with integer-hashed corners (the star layers).
float star_noise(float2 p) {
  float2 i = floor(p);
  float2 u = ease2(p - i);
  uint x0 = lattice_index(i.x), y0 = lattice_index(i.y);
  uint x1 = x0 + 1u, y1 = y0 + 1u;
  float a = hash_u2(x0, y0);
  float b = hash_u2(x1, y0);
  float c = hash_u2(x0, y1);
  float d = hash_u2(x1, y1);
  return lerp(lerp(a, b, u.x), lerp(c, d, u.x), u.y);
}

#endif
