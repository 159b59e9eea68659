// The nine-tap filter both directions of the bloom chain share: a centre tap,
// four diagonal neighbours at half weight and four taps two texels out along
// the axes at a quarter, normalised by the weights' sum of 4.
#ifndef BLOOM_FILTER_HLSLI
#define BLOOM_FILTER_HLSLI

float3 bloom_filter(Texture2D<float4> source, SamplerState smp, float2 uv) {
  float3 sum = source.Sample(smp, uv).rgb;
  sum += 0.5 * (source.Sample(smp, uv, int2(-1, -1)).rgb + source.Sample(smp, uv, int2(1, -1)).rgb +
                source.Sample(smp, uv, int2(-1, 1)).rgb + source.Sample(smp, uv, int2(1, 1)).rgb);
  sum += 0.25 * (source.Sample(smp, uv, int2(2, 0)).rgb + source.Sample(smp, uv, int2(-2, 0)).rgb +
                 source.Sample(smp, uv, int2(0, 2)).rgb + source.Sample(smp, uv, int2(0, -2)).rgb);
  return sum * 0.25;
}

#endif
