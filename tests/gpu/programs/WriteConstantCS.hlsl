// Writes the block's value at the block's pixel: shows which block a
// dispatch saw.
cbuffer Block : register(b0) {
  float4 value;
  uint2 pixel;
};
[[spv::format_rgba16f]] RWTexture2D<float4> target : register(u0);
[numthreads(1, 1, 1)]
void main() { target[pixel] = value; }
