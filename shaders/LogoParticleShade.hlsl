// Colours the particle field: mass density times a diagonal gradient from
// orange-red at the top left to green-blue at the bottom right.
#define UNIFORM_FIELDS 27
#include "common.hlsli"

SamplerState smp : register(s0);
Texture2D<float4> renderTex : register(t1);  // a particle state
STORAGE_FORMAT(rgba16f) RWTexture2D<float4> screen : register(u0);

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float2 uv = id.xy * invRes;
  float density = renderTex.SampleLevel(smp, uv, 0).z;
  float s = uv.x + uv.y;
  float3 gradient = float3(1.0 - 0.42 * s, 0.2 + 0.42 * s, 0.1 + 0.36 * s);
  screen[id.xy] = 2.5 * float4(gradient * density, density);
}
