// The lens dirt, painted once at start-up: nine octaves of soft, randomly
// placed regular polygons (aperture-shaped specks) of random brightness,
// smeared radially over 31 jittered copies with the red layer pulled towards
// the centre and the blue layer pushed outwards.
//
// Declares a 16-byte block of its own at b0; the host has the uniform block
// bound there, so uni.xy is invRes.
#include "maths.hlsli"

cbuffer Globals : register(b0) {
  float4 uni;
};

static const uint kOctaves = 9;
static const int kSmearSamples = 31;

float hash1(uint m) { return hash_u2(m, m); }

// Signed distance of a speck with `sides` corners to the point f of its
// cell: the polar angle is folded into one sector, where the polygon's edge
// is a straight line.
float speck_distance(float2 f, float sides) {
  float sector = PI / sides;
  float theta = mod_floor(atan2(f.y, f.x) - 0.5 * sector, sector) - 0.5 * sector;
  float2 g = abs(0.9 * length(f) * float2(cos(theta), sin(theta))) - 0.1;
  return length(max(g, 0.0)) + min(max(g.x, g.y), 0.0) - 0.02;
}

// Where octave n puts point p (screen 0..1) in its lattice for jitter k.
float2 octave_position(float2 p, float k, uint n, float scale) {
  float2 q = float2(scale * p.x * (uni.y / uni.x), scale * p.y);
  q += 100.0 * float2(hash1(3 * n), hash1(n + 10000000));
  q += k * float2(2.0 * hash1(n) - 1.0, 2.0 * hash1(n + 10000) - 1.0) / 250.0;
  float2 wobble = k * float2(2.0 * hash1(2 * n) - 1.0, 2.0 * hash1(n + 30000) - 1.0) / 100.0;
  return q + wobble * wobble;
}

// One speck per lattice cell, at a random place in it. Cells left of zero
// (the first octave reaches there at the screen's left edge) wrap around as
// 32-bit integers, so each keeps a speck of its own.
float speck(float2 q, uint n) {
  uint2 c = asuint(int2(floor(q)));
  float r = hash_u2(c.y, c.x);
  float2 f = 2.0 * frac(q) - 1.0 + float2(hash_u2(c.y + 100, c.x + 100) - 0.5, r - 0.5);
  float shape = ease(saturate(-50.0 * speck_distance(f, floor(10.0 * r) + 3.0)));
  float brightness = hash_u2(c.y + n, c.x + n);
  return shape * brightness * brightness;
}

float speck_layer(float2 p, float k) {
  float amplitude = 1.0, scale = 0.5, total = 0.0;
  for (uint n = 0; n < kOctaves; ++n) {
    total += amplitude * speck(octave_position(p, k, n, scale), n);
    amplitude *= 0.45;
    scale *= 2.0;
  }
  return total;
}

float4 main(float4 pos : SV_Position) : SV_Target {
  float2 uv = pos.xy * uni.xy;
  float2 smear = 0.5 * (2.0 * uv - 1.0) * uni.xy;
  float3 acc = 0.0;
  for (int i = 1; i <= kSmearSamples; ++i) {
    float k = i - 1;
    acc.r += speck_layer(uv - i * smear, k);
    acc.g += speck_layer(uv, k);
    acc.b += speck_layer(uv + i * smear, k);
  }
  return float4(acc / 8.0, 1.0);
}
