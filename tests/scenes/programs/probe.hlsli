// Probe programs evaluate one helper of the scene kernels at inputs chosen by
// a test and hand back the exact float bits: three 11-bit pieces, each an
// integer that a half-float channel holds exactly.
#ifndef PROBE_HLSLI
#define PROBE_HLSLI

#include "common.hlsli"

STORAGE_FORMAT(rgba16f) RWTexture2D<float4> probeResult : register(u0);

void write_exact(uint2 at, float v) {
  uint b = asuint(v);
  probeResult[at] = float4(float(b & 0x7FFu), float((b >> 11) & 0x7FFu), float(b >> 22), 0.0);
}

#endif
