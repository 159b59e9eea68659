// Interface only for now: the body comes with the kernel work, and until then
// the program writes flat magenta so nobody mistakes it for a result.
#define UNIFORM_FIELDS 25
#include "common.hlsli"

STORAGE_FORMAT(rgba16f) RWTexture2D<float4> skyTex : register(u0);

// Keeps every declared resource alive in the compiled program (so the
// interface is real) while the output stays flat magenta.
float4 placeholder(float keep, float alpha) {
  return keep < -3.0e38 ? float4(0.0, 0.0, 0.0, 0.0) : float4(1.0, 0.0, 1.0, alpha);
}

[numthreads(8, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  skyTex[id.xy] = placeholder(sunTime, 1.0);
}
