// Rows 0-2: red, green, blue of a cube's glow at a local position and local
// normal, with the seed and the tuning (0 first scene, 1 finale) given per
// column and the clock shared.
#include "probe.hlsli"
#include "cube_pattern.hlsli"

cbuffer Probe : register(b1) {
  float4 local_seed[16];     // xyz local position, w seed
  float4 normal_tuning[16];  // xyz local normal, w tuning
  float4 clock;              // x time, y clock offset of the finale
};

[numthreads(1, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float4 a = local_seed[id.x];
  float4 b = normal_tuning[id.x];
  PatternStyle s;  // not ?: : vkd3d-compiler does not implement it on a struct
  if (b.w < 0.5)
    s = scene_pattern_style(a.w, clock.x);
  else
    s = finale_pattern_style(a.w, clock.x, clock.y);
  float3 c = cube_emission(a.xyz, b.xyz, s);
  write_exact(id.xy, id.y == 0 ? c.r : (id.y == 1 ? c.g : c.b));
}
