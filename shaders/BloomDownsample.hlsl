// One step down the bloom chain into a level half the size of the source.
#define UNIFORM_FIELDS 25
#include "common.hlsli"
#include "bloom_filter.hlsli"

SamplerState smp : register(s0);
Texture2D<float4> tex0 : register(t0);

float4 main(float4 pos : SV_Position) : SV_Target {
  // A quarter of a target pixel towards the bottom right; the way up shifts
  // back by the same amount.
  float2 uv = pos.xy * invRes + 0.25 * invRes;
  return float4(bloom_filter(tex0, smp, uv), 1.0);
}
