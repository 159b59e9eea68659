// Ambient occlusion probes shared by both scenes: sixteen fixed points in
// the hemisphere above the surface, at hashed distances, so the estimate is
// the same from frame to frame and needs no noise texture.
#ifndef OCCLUSION_HLSLI
#define OCCLUSION_HLSLI

#include "common.hlsli"

static const int OCCLUSION_PROBES = 16;

// Distance of probe i when the farthest probe may reach `reach`.
float occlusion_probe_distance(int i, float reach) { return reach * Hh(float(i)); }

// Direction of the probe at distance l: a hashed direction flipped to the
// normal's side and pulled towards the normal.
float3 occlusion_probe_direction(float3 n, float l) {
  float a = 2.0 * PI * Hh(l + 1.0);
  float z = 2.0 * Hh(l + 2.0) - 1.0;
  float3 r = float3(sin(a), cos(a), z) / sqrt(1.0 + z * z);
  r *= sign(dot(r, n));
  return normalize(n + 0.9375 * r);
}

#endif
