// Rows 0-2: red, green, blue of the first scene's background along the
// direction given per column, with the sky panorama at t0.
#define UNIFORM_FIELDS 26
#include "probe.hlsli"
#include "scene_background.hlsli"

SamplerState smpRepeat : register(s2);
Texture2D<float4> skyTex : register(t0);

cbuffer Probe : register(b1) { float4 input[32]; };

[numthreads(1, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float3 c = scene_background(input[id.x].xyz, skyTex, smpRepeat);
  write_exact(id.xy, id.y == 0 ? c.r : (id.y == 1 ? c.g : c.b));
}
