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

// The group's texels and the reach around them, loaded once: neighbouring
// threads share almost all of their 15 x 15 neighbours, and the loads, not
// the arithmetic, are what a step costs.
static const int2 kGroup = int2(16, 8);
static const int2 kTile = kGroup + 2 * kReach;
groupshared float3 tile[kTile.x * kTile.y];

// Texels outside the state are empty space, as a Direct3D load returns
// zeros there; the load itself stays inside the texture.
float3 state_or_empty(int2 at) {
  uint width, height;
  renderTex.GetDimensions(width, height);
  int2 inside = clamp(at, 0, int2(width, height) - 1);
  return all(at == inside) ? renderTex.Load(int3(inside, 0)).xyz : 0.0;
}

void load_tile(int2 group_origin, uint thread) {
  for (uint k = thread; k < uint(kTile.x * kTile.y); k += uint(kGroup.x * kGroup.y))
    tile[k] = state_or_empty(group_origin - kReach + int2(k % kTile.x, k / kTile.x));
  GroupMemoryBarrierWithGroupSync();
}

// Every neighbour's mass drifts towards this texel with a Gaussian weight
// of its distance; what it brings is its own offset, pushed further by the
// emptier it is. The sum's fourth component (the density again) is left to
// the caller.
float3 gather(int2 local) {
  float3 acc = 0.0;
  // Only the outer loop is kept a loop: unrolled whole, the Direct3D program
  // is over six times larger and slow to create, while a real inner loop costs
  // lavapipe half as much time again.
  [loop] for (int i = -kReach; i <= kReach; ++i) {
    for (int j = -kReach; j <= kReach; ++j) {
      int2 at = local + kReach + int2(i, j);
      float3 neighbour = tile[at.y * kTile.x + at.x];
      float2 offset = neighbour.xy;
      float mass = neighbour.z;
      float2 q = float2(i, j) + offset;
      float2 moved = (1.0 - mass) * (2.0 * offset + float2(i, j)) + mass * offset;
      acc += (exp(-dot(q, q)) * mass * kInvPi) * float3(moved, 1.0);
    }
  }
  return acc;
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

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID, uint3 local : SV_GroupThreadID, uint3 group : SV_GroupID,
          uint thread : SV_GroupIndex) {
  // A seed frame starts the field afresh: nothing gathered would be kept.
  if (glitchCreditFactor < 100.5) {
    screen[id.xy] = seed(id.xy * invRes);
  } else {
    load_tile(int2(group.xy) * kGroup, thread);
    float3 acc = gather(int2(local.xy));
    screen[id.xy] = float4(acc.xy / (acc.z + 0.000001), acc.z, acc.z);
  }
}
