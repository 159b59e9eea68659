// First, half-resolution level of the bloom chain: only what is brighter
// than luminance 0.9 passes, fully from 1.5 on.
#define UNIFORM_FIELDS 25
#include "common.hlsli"

SamplerState smp : register(s0);
Texture2D<float4> tex0 : register(t0);

float4 main(float4 pos : SV_Position) : SV_Target {
  // invRes describes the full-size source, twice this target.
  float3 c = tex0.SampleLevel(smp, 2.0 * pos.xy * invRes, 0).rgb;
  float luminance = 0.33 * (c.r + c.g + c.b);
  float kept = ease(saturate((luminance - 0.9) * 1.6666666));
  return float4(kept * c, 1.0);
}
