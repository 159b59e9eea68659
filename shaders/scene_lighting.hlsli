// Light on the first scene's surfaces: sun with a soft shadow through the
// cube field, and a blue ambient term darkened by occlusion. The surfaces
// have no albedo of their own; the cubes add their glow on top.
#ifndef SCENE_LIGHTING_HLSLI
#define SCENE_LIGHTING_HLSLI

#include "common.hlsli"
#include "occlusion.hlsli"

// Backward differences: the field at p itself is already known.
float3 scene_normal(CubeField cf, float3 p, float at_p) {
  const float e = 0.001;
  return normalize(at_p - float3(field_distance(cf, p - float3(e, 0.0, 0.0)),
                                 field_distance(cf, p - float3(0.0, e, 0.0)),
                                 field_distance(cf, p - float3(0.0, 0.0, e))));
}

// Penumbra estimate along the shadow ray from how close it passes the
// nearest occluder (the closest approach between two field samples). The
// start is dithered per point so the shadow's banding turns into grain.
float soft_shadow(CubeField cf, float3 p, float3 s) {
  float t = 0.01 + 0.01 * (Hh(5.0 * p.x + 100.0) + Hh(50.0 * p.z + 100.0));
  float previous = 1.0e10;
  float res = 1.0;
  [loop] for (int i = 0; i < 64; ++i) {
    float h = field_distance(cf, p + s * t);
    float y = h * h / (2.0 * previous);
    float along = t - y;
    // The approach lies behind the start or the field overshot (h * h <
    // y * y): that pair of samples says nothing, so it neither darkens the
    // shadow nor ends the march (the plain formula would divide by zero or
    // take the root of a negative number).
    if (along > 0.0 && h * h >= y * y) res = min(res, 5.0 * sqrt(h * h - y * y) / along);
    previous = h;
    t += h;
    if (res < 0.0001 || t > 10.0) break;
  }
  return saturate(res);
}

// Sun light with the shadow reddened in the penumbra; fades out as the sun
// reaches the horizon. Surfaces facing away or a set sun need no shadow ray.
float3 direct_light(CubeField cf, float3 p, float3 n, float3 s) {
  float diffuse = max(dot(n, s), 0.0);
  float fade = ease(saturate(10.0 * s.y));
  if (diffuse == 0.0 || fade == 0.0) return 0.0;
  float res = soft_shadow(cf, p, s);
  float3 shadow = float3(pow(res, 0.85), pow(res, 0.95), res);
  return float3(1.0, 0.9, 0.7) * diffuse * shadow * fade;
}

float scene_occlusion(CubeField cf, float3 p, float3 n) {
  float occ = 0.0;
  [unroll] for (int i = 0; i < OCCLUSION_PROBES; ++i) {
    float l = occlusion_probe_distance(i, 0.25);
    float3 q = p + l * occlusion_probe_direction(n, l);
    occ += 1.5 * (l - max(field_distance(cf, q), 0.0)) / 0.25;
  }
  return saturate(1.0 - occ / 16.0);
}

// Sky light, gone with the sun (and then so is the need to probe occlusion).
float3 ambient_light(CubeField cf, float3 p, float3 n, float3 s) {
  float sky = saturate(s.y);
  if (sky == 0.0) return 0.0;
  return float3(0.4, 0.55, 1.0) * 0.07 * sky * scene_occlusion(cf, p, n);
}

#endif
