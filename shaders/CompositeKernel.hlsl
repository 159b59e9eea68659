// The last pass of every frame: the picture that reaches the screen, made
// from the scene, the sun shafts, the bloom and the lens dirt, with line
// jitter, vignette, tone mapping, the credits text, gamma, film grain and the
// fades. It covers the screen; everything it reads is addressed through
// normalised coordinates, so the scene may be smaller than the screen.
#define UNIFORM_FIELDS 27
#include "common.hlsli"

SamplerState smp : register(s0);
Texture2D<float4> renderTex : register(t0);
Texture2D<float4> scatteringTex : register(t1);
Texture2D<float4> bloomTex : register(t2);
Texture2D<float4> dirtTex : register(t3);
Texture2D<float4> creditsTex : register(t4);
STORAGE_FORMAT(rgba8) RWTexture2D<float4> screen : register(u0);

// 3x3 binomial blur in texels of the scene texture (offsets need literals).
#define SCENE_TAP(i, j, w) (w) * renderTex.SampleLevel(smp, uv, 0, int2(i, j)).rgb
float3 scene_blurred(float2 uv) {
  float3 c = SCENE_TAP(-1, -1, 1.0) + SCENE_TAP(0, -1, 2.0) + SCENE_TAP(1, -1, 1.0) +
             SCENE_TAP(-1, 0, 2.0) + SCENE_TAP(0, 0, 4.0) + SCENE_TAP(1, 0, 2.0) +
             SCENE_TAP(-1, 1, 1.0) + SCENE_TAP(0, 1, 2.0) + SCENE_TAP(1, 1, 1.0);
  return c / 16.0;
}

// Separable Gaussian over 7 x 7 taps two screen pixels apart: the shafts are
// computed without a half-step and look noisy unfiltered.
static const float kShaftWeights[7] = {0.071303435, 0.13151412, 0.18987924, 0.21460643,
                                       0.18987924, 0.13151412, 0.071303435};
float3 shafts_blurred(float2 uv) {
  float3 sum = 0.0;
  for (int j = 0; j < 7; ++j)
    for (int i = 0; i < 7; ++i) {
      float2 at = uv + 2.0 * float2(i - 3, j - 3) * invRes;
      sum += kShaftWeights[i] * kShaftWeights[j] * scatteringTex.SampleLevel(smp, at, 0).rgb;
    }
  return sum;
}

// A product that leaves [0, 1] when the jitter pushes u' off screen would
// make pow() undefined; such pixels are simply dark.
float vignette(float u, float v) {
  return min(pow(max(50.0 * u * v * (1.0 - u) * (1.0 - v), 0.0), 0.25), 1.0);
}

float3 tone_map(float3 c) {
  return saturate(c * (2.51 * c + 0.03) / (c * (2.43 * c + 0.59) + 0.14));
}

// Page creditsId of the bound image: its channel is creditsId modulo 3, and
// bands of the text shift sideways with glitchCreditFactor.
float credits_mask(float u, float v) {
  if (creditsId < 0.0) return 0.0;
  float k = floor(4.0 * time);
  float3 h = random3(float3(k, k, k));
  float beta = 6.0 * h.z;
  float a = u * cos(beta) + v * sin(beta);
  float n = simplex3(float3(h.x, 10.0 * u, floor(50.0 * h.y * a)));
  float shift = 0.1 * glitchCreditFactor * n * n;
  float4 t = creditsTex.SampleLevel(smp, float2(u + shift, v), 0);
  float r = creditsId - 3.0 * floor(creditsId / 3.0);
  return r == 0.0 ? t.r : (r == 1.0 ? t.g : t.b);
}

float3 film_grain(float3 c, float u, float v) {
  float luma = dot(c, float3(0.299, 0.587, 0.114));
  float g = simplex3(float3(0.3 * u / invRes.x, 0.3 * v / invRes.y, 10.0 * time));
  return c + 0.15 * g * c * (1.0 - sqrt(luma));
}

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float u = id.x * invRes.x;
  float v = id.y * invRes.y;
  u += 0.02 * glitchFactor * simplex3(float3(0.0, 250.0 * v, 10.0 * time));
  float2 uv = float2(u, v);

  float3 colour = scene_blurred(uv) + 0.1 * shafts_blurred(uv);
  colour += bloomTex.SampleLevel(smp, uv, 0).rgb * (dirtTex.SampleLevel(smp, uv, 0).rgb + 0.3) * bloomFactor;
  colour *= vignette(u, v);
  colour = tone_map(colour);
  float m = credits_mask(u, v);
  colour += m * (1.0 - colour);
  colour = pow(colour, 0.45454547);
  colour = film_grain(colour, u, v);
  colour = colour * fadeBlack + fadeWhite;
  screen[id.xy] = float4(colour, 1.0);
}
