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

// How octave n places a point in its lattice, apart from the point itself:
// a fixed offset, and a drift with the jitter k that is linear in k along
// one direction and quadratic along another. The same for every pixel.
struct Octave {
  float2 offset;
  float2 drift;   // per unit of k
  float2 wobble;  // squared after scaling by k
};

Octave make_octave(uint n) {
  Octave o;
  o.offset = 100.0 * float2(hash1(3 * n), hash1(n + 10000000));
  o.drift = float2(2.0 * hash1(n) - 1.0, 2.0 * hash1(n + 10000) - 1.0) / 250.0;
  o.wobble = float2(2.0 * hash1(2 * n) - 1.0, 2.0 * hash1(n + 30000) - 1.0) / 100.0;
  return o;
}

float2 jitter_offset(Octave o, float k) {
  float2 wobble = k * o.wobble;
  return o.offset + k * o.drift + wobble * wobble;
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

float4 main(float4 pos : SV_Position) : SV_Target {
  float2 uv = pos.xy * uni.xy;
  float2 smear = 0.5 * (2.0 * uv - 1.0) * uni.xy;
  float2 stretch = float2(uni.y / uni.x, 1.0);  // the lattice keeps its cells square on screen
  float3 acc = 0.0;
  float amplitude = 1.0, scale = 0.5;
  // Real loops: unrolled, vkd3d-compiler needs minutes and emits megabytes
  // for a program that runs once.
  [loop] for (uint n = 0; n < kOctaves; ++n) {
    Octave o = make_octave(n);
    float2 centre = scale * uv * stretch, step = scale * smear * stretch;
    [loop] for (int i = 1; i <= kSmearSamples; ++i) {
      float2 q = centre + jitter_offset(o, i - 1);
      acc.r += amplitude * speck(q - i * step, n);
      acc.g += amplitude * speck(q, n);
      acc.b += amplitude * speck(q + i * step, n);
    }
    amplitude *= 0.45;
    scale *= 2.0;
  }
  return float4(acc / 8.0, 1.0);
}
