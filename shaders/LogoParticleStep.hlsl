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

// Like a Direct3D load: texels outside the state read as empty space.
float4 previous_state(int2 at) {
  uint width, height;
  renderTex.GetDimensions(width, height);
  if (any(at < 0) || at.x >= int(width) || at.y >= int(height)) return 0.0;
  return renderTex.Load(int3(at, 0));
}

float4 gather(int2 pixel) {
  float4 acc = 0.0;
  for (int i = -kReach; i <= kReach; ++i) {
    for (int j = -kReach; j <= kReach; ++j) {
      float4 neighbour = previous_state(pixel + int2(i, j));
      float2 offset = neighbour.xy;
      float mass = neighbour.z;
      float2 q = float2(i, j) + offset;
      float w = exp(-dot(q, q));
      float2 moved = (1.0 - mass) * (2.0 * offset + float2(i, j)) + mass * offset;
      acc += (w * mass * kInvPi) * float4(moved, 1.0, 1.0);
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
void main(uint3 id : SV_DispatchThreadID) {
  float4 acc = gather(int2(id.xy));
  if (glitchCreditFactor < 100.5) {
    screen[id.xy] = seed(id.xy * invRes);
  } else {
    screen[id.xy] = float4(acc.xy / (acc.z + 0.000001), acc.zw);
  }
}
