// Writes the block's value at the block's pixel: shows which block a
// dispatch saw.
cbuffer Block : register(b0) {
  float4 value;
  uint2 pixel;
};
// Not STORAGE_FORMAT: common.hlsli would bring its uniform block to b0,
// where this block sits. Only glslang accepts the attribute (it gets -DSPIRV).
#ifdef SPIRV
[[spv::format_rgba16f]]
#endif
RWTexture2D<float4> target : register(u0);
[numthreads(1, 1, 1)]
void main() { target[pixel] = value; }
