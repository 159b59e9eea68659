// Row 0: Hh(x); 1: pattern noise at xy; 2: sky noise at xyz; 3: fbm at xyz;
// 4: star noise at xy. Column = input.
#include "probe.hlsli"
#include "value_noise.hlsli"

cbuffer Probe : register(b1) { float4 input[32]; };

[numthreads(1, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float4 p = input[id.x];
  float v = 0.0;
  if (id.y == 0) v = Hh(p.x);
  else if (id.y == 1) v = value_noise2(p.xy);
  else if (id.y == 2) v = value_noise3(p.xyz);
  else if (id.y == 3) v = fbm(p.xyz);
  else v = star_noise(p.xy);
  write_exact(id.xy, v);
}
