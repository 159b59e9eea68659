// Opaque black over the back buffer, shown while start-up does its slow work.
#include "common.hlsli"

STORAGE_FORMAT(rgba8) RWTexture2D<float4> screen : register(u0);

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  screen[id.xy] = float4(0.0, 0.0, 0.0, 1.0);
}
