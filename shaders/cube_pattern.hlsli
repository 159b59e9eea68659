// The moving plasma that the cubes glow with, in both scenes. Every face
// shows the same warped interference pattern; a per-cube seed decides its
// speed, scale and colour so that neighbouring cubes never look alike. The
// two scenes tune it differently (PatternStyle) but share the mapping to
// colour, the cubing and the bright face edges.
#ifndef CUBE_PATTERN_HLSLI
#define CUBE_PATTERN_HLSLI

#include "common.hlsli"
#include "value_noise.hlsli"

struct PatternStyle {
  float seed;          // sigma, per cube
  float warp;          // k of the face warp
  float curved_warp;   // 1: warp k (cos a + cos b), 0: flat 2k
  float clock;         // drives the interference terms
  float time;          // drives the slow drift of the four waves
  float2 phase;        // added inside the E and G terms
  float scale;         // of the value noise
};

PatternStyle scene_pattern_style(float seed, float t) {
  PatternStyle s;
  s.seed = seed;
  s.warp = 0.5 * seed + 0.2;
  s.curved_warp = 1.0;
  s.clock = (20.0 * hash_scaled(10.31 * seed) + 2.0) * t;  // Hh(100 seed)
  s.time = t;
  s.phase = float2(5.0 * seed, 10.0 * seed);
  s.scale = 30.0 * seed + 10.0;
  return s;
}

// The corridor's cubes share a seed per cell; their clock can be shifted.
PatternStyle finale_pattern_style(float seed, float t, float clock_offset) {
  PatternStyle s;
  s.seed = seed;
  s.warp = 0.25 * seed + 0.2;
  s.curved_warp = 0.0;
  s.clock = (20.0 * hash_scaled(5.155 * seed) + 2.0) * (t + clock_offset);  // Hh(50 seed)
  s.time = t;
  s.phase = float2(1.0 + 2.5 * seed, 1.0 + 5.0 * seed);
  s.scale = 15.0 * seed + 10.0;
  return s;
}

// Smooth step into the last hundredth of a face coordinate: the lit rim.
float face_rim(float a) { return ease(saturate(100.0 * (abs(a) - 0.99))); }

// Colour of one face at face coordinates (a, b) in [-1, 1], rim included.
float3 face_pattern(float a, float b, PatternStyle s) {
  float w = s.curved_warp > 0.5 ? s.warp * (cos(a) + cos(b)) : 2.0 * s.warp;
  float u = w * a - 0.5;
  float v = w * b - 0.5;
  float f = s.clock;
  float t1 = u * cos(0.11 * u + f / 16.0);
  float t2 = u * sin(0.05 * u + 0.025 * f);
  float t3 = v * cos(0.09 * v + 0.0375 * f);
  float t4 = v * sin(0.13 * v + 0.05 * f);
  float A = 0.875 * u * cos(t1 + t2 + 0.06 * s.time);
  float B = 0.75 * v * sin(t2 + t3 - 0.04 * s.time);
  float C = 0.5 * u * cos(t3 + t4 + 0.02 * s.time);
  float D = 0.625 * v * sin(t1 + t4 - 0.08 * s.time);
  float E = 0.25 * cos((0.11 * u * A + s.phase.x) * cos(0.05 * u * B));
  float G = 0.25 * sin((0.09 * v * C + s.phase.y) * sin(0.13 * v * D));
  float P = 0.25 * cos(A - C);
  float Q = 0.25 * sin(B - D);
  float X = Q + P - E + G;
  float Y = E - Q - P;
  float n = value_noise2(s.scale * float2(X, Y));
  float g = 1.5 * n * n;
  float3 c = float3(g + 0.5 * X, g - 0.5 * (X + Y), g + 0.5 * Y);
  float rim = saturate(face_rim(a) + face_rim(b));
  return c * c * c + rim;
}

// Glow of a cube at `local` (its own frame, faces at +-0.5) with the surface
// normal in that frame: each face pattern weighted by how much the normal
// faces it, so edges blend instead of cutting.
float3 cube_emission(float3 local, float3 local_normal, PatternStyle s) {
  float3 weight = abs(local_normal);
  float3 face = 2.0 * local;
  return weight.x * face_pattern(face.y, face.z, s) + weight.z * face_pattern(face.x, face.y, s) +
         weight.y * face_pattern(face.x, face.z, s);
}

#endif
