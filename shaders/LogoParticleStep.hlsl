// The logo dissolving into particles: every texel of the state holds one
// particle (offset in pixels from its texel, and mass). A frame either seeds
// the field from the image or moves every particle one step by gathering
// the mass of its 15x15 neighbourhood with Gaussian weights.
#define UNIFORM_FIELDS 27
#include "common.hlsli"

SamplerState smp : register(s0);
Texture2D<float4> logoTex : register(t0);
Texture2D<float4> renderTex : register(t1);  // the previous state
STORAGE_FORMAT(rgba16f) RWTexture2D<float4> screen : register(u0);

static const int kReach = 7;
static const float kInvPi = 0.31831926;

// Each thread makes a column of kColumn texels: every column of neighbours it
// loads serves all of them, so a texel costs 15 x 22 / 8 loads instead of
// 225, and no group-shared memory is needed, whose barriers cost very
// differently from one device to the next (lavapipe here ran the
// group-shared step at twice this one's time, the plain one at four times).
static const int kColumn = 8;
static const int kSpan = kColumn + 2 * kReach;

// Texels outside the state are empty space, as a Direct3D load returns
// zeros there.
float3 state_or_empty(int2 at, int2 size) {
  return all(at >= 0 && at < size) ? renderTex.Load(int3(at, 0)).xyz : 0.0;
}

// Every neighbour's mass drifts towards a texel with a Gaussian weight of
// its distance (i, j); what it brings is its own offset, pushed further by
// the emptier it is. The sum's fourth component (the density again) is
// left to the caller.
float3 drift(float3 neighbour, int i, int j) {
  float2 offset = neighbour.xy;
  float mass = neighbour.z;
  float2 q = float2(i, j) + offset;
  float2 moved = (1.0 - mass) * (2.0 * offset + float2(i, j)) + mass * offset;
  return (exp(-dot(q, q)) * mass * kInvPi) * float3(moved, 1.0);
}

// The sums of the column of texels from `top` down, each added up in the
// order of a texel gathered alone (columns of neighbours left to right, each
// top to bottom), so the field stays the same bit for bit. Only the outer
// loop is kept a loop: the inner ones index the registers.
void gather_column(int2 top, out float3 acc[kColumn]) {
  uint width, height;
  renderTex.GetDimensions(width, height);
  int2 size = int2(width, height);
  [unroll] for (int m = 0; m < kColumn; ++m) acc[m] = 0.0;
  [loop] for (int i = -kReach; i <= kReach; ++i) {
    float3 column[kSpan];
    [unroll] for (int r = 0; r < kSpan; ++r) column[r] = state_or_empty(top + int2(i, r - kReach), size);
    [unroll] for (int n = 0; n < kColumn; ++n)
      [unroll] for (int j = -kReach; j <= kReach; ++j) acc[n] += drift(column[n + j + kReach], i, j);
  }
}

// The image fills the centre half of the screen; particles start displaced
// by noise that grows with the squared distance from the centre.
float4 seed(float2 uv) {
  float4 c = logoTex.SampleLevel(smp, 2.0 * uv - 0.5, 0);
  c *= c.a;
  float luminance = 0.33 * (c.r + c.g + c.b);
  float n1 = simplex3(float3(25.0 * uv, 0.0));
  float n2 = simplex3(float3(25.0 * uv, 10.3));
  float2 centred = 2.0 * uv - 1.0;
  float r2 = dot(centred, centred);
  return float4(30.0 * n1 * cos(uv.y) * r2, 30.0 * n2 * r2, 1.9 * c.a * luminance, 0.0);
}

// A group of 16 columns still covers 16 x 8 texels, so the dispatch is the
// same as for one texel a thread.
[numthreads(16, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  int2 top = int2(id.x, id.y * kColumn);
  // A seed frame starts the field afresh: nothing gathered would be kept.
  if (glitchCreditFactor < 100.5) {
    [unroll] for (int m = 0; m < kColumn; ++m) screen[top + int2(0, m)] = seed((top + int2(0, m)) * invRes);
  } else {
    float3 acc[kColumn];
    gather_column(top, acc);
    [unroll] for (int m = 0; m < kColumn; ++m)
      screen[top + int2(0, m)] = float4(acc[m].xy / (acc[m].z + 0.000001), acc[m].z, acc[m].z);
  }
}
