// Row 0: the corridor's field at xyz for the intro time w; row 1: the first
// scene's cube field at xyz for the cube clock w and the repetition given.
#include "probe.hlsli"
#include "corridor_field.hlsli"

cbuffer Probe : register(b1) {
  float4 input[32];
  float4 settings;  // x cubesRepeat
};

[numthreads(1, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float4 p = input[id.x];
  float v = id.y == 0 ? corridor_distance(make_corridor_cubes(p.w), p.xyz)
                      : field_distance(make_cube_field(p.w, settings.x), p.xyz);
  write_exact(id.xy, v);
}
