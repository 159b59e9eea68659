// Interface only for now: the body comes with the kernel work, and until then
// the program writes flat magenta so nobody mistakes it for a result.
//
// Declares a 16-byte block of its own at b0; the host has the uniform block
// bound there, so uni.xy is invRes.
cbuffer Globals : register(b0) {
  float4 uni;
};

float4 main(float4 pos : SV_Position) : SV_Target {
  return uni.x < -3.0e38 ? float4(0.0, 0.0, 0.0, 0.0) : float4(1.0, 0.0, 1.0, 1.0);
}
