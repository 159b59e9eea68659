// The sky panorama the first scene reflects and looks into: single scattering
// of Rayleigh and Mie particles over a spherical planet, for the current sun
// angle. Texel (x, y) looks along elevation (y/256 - 1) pi/2 (row 0 straight
// down, row 256 at the horizon) and azimuth (x/256 - 1) pi.
#define UNIFORM_FIELDS 25
#include "common.hlsli"

STORAGE_FORMAT(rgba16f) RWTexture2D<float4> skyTex : register(u0);

// Metres; the planet is centred at the origin and the eye floats 800 m up.
static const float kGroundRadius = 6360000.0;
static const float3 kEye = float3(0.0, 6360800.0, 0.0);
// The quadratics of the eye against the two spheres, folded into constants
// because |eye|^2 and the radii squared are far beyond float precision:
// 4 (Ra^2 - |eye|^2), -4 (|eye|^2 - Rg^2) and -Ra^2.
static const float kAtmosphereTerm = 3.0264934e12;
static const float kGroundTerm = -4.070656e10;
static const float kMinusAtmosphereSq = -4.1216402e13;
static const float kNoGround = 9.999e12;

static const float3 kRayleigh = float3(3.8e-6, 13.5e-6, 33.1e-6);
static const float kMie = 21e-6;
// Densities fall off as e^(-h/7994) and e^(-h/1200), written as 2^(h k).
static const float kRayleighFalloff = -0.00018047224;
static const float kMieFalloff = -0.0012022458;
static const float kLog2E = 1.442695;
static const float kSunIntensity = 5.0;
// The sun disc is Rayleigh-scattered light times 20, 6 and 2 kR.
static const float3 kSunDisc = float3(7.6e-5, 8.1e-5, 6.62e-5);

static const int kPrimarySteps = 64;
static const int kLightSteps = 12;

float3 view_direction(uint2 texel) {
  float theta = (texel.y / 256.0 - 1.0) * PI * 0.5;
  float phi = (texel.x / 256.0 - 1.0) * PI;
  return float3(cos(theta) * cos(phi), sin(theta), cos(theta) * sin(phi));
}

// Never lower than -0.1, so the sky keeps a glow after sunset; the clamped
// vector is deliberately left unnormalised.
float3 clamped_sun() { return max(sun_direction(), float3(-1.0, -0.1, -1.0)); }

float rayleigh_phase(float mu) { return 0.059683103 * (1.0 + mu * mu); }

float mie_phase(float mu) {
  return 0.050420284 * (1.0 + mu * mu) / (2.5776 * pow(1.5776 - 1.52 * mu, 1.5));
}

float sun_disc(float mu) { return ease(saturate((mu - 0.9999) * 11111.111)); }

// Where the eye's ray enters and leaves the air, shortened by the ground.
float2 march_span(float3 d) {
  float b = 2.0 * dot(kEye, d);
  float root = sqrt(b * b + kAtmosphereTerm);
  float t_far = 0.5 * (-b + root);
  float t_near = max(0.5 * (-b - root), 0.0);
  float ground_disc = b * b + kGroundTerm;
  float t_ground = kNoGround;
  if (ground_disc >= 0.0) {
    float t = 0.5 * (-b - sqrt(ground_disc));
    if (t > 0.0) t_ground = t;
  }
  return float2(t_near, min(t_far, t_ground));
}

// Distance from p to the far side of the atmosphere along d.
float distance_to_sky(float3 p, float3 d) {
  float b = 2.0 * dot(p, d);
  float c = dot(p, p) + kMinusAtmosphereSq;
  return 0.5 * (-b + sqrt(b * b - 4.0 * c));
}

float2 densities_at_height(float h) { return float2(exp2(h * kRayleighFalloff), exp2(h * kMieFalloff)); }

// Optical depth towards the sun from p, whose own densities are known: the
// ray's first sample is p itself. |q|^2 is expanded in j, so each sample
// costs two multiply-adds instead of a point and a dot product.
//
// Once the ray climbs 145 km above p, both densities have fallen below 2^-25
// of p's own (e^-121 and e^-18.1), so every later sample would vanish in the
// float sum; the ray stops there. That spares most of the samples of the
// long light steps near and below the horizon (kept a real loop: unrolled,
// the device would run the masked-off samples anyway).
float2 light_depth(float3 p, float2 here, float3 s, float light_step) {
  float p2 = dot(p, p);
  float b = 2.0 * light_step * dot(p, s);
  float c = light_step * light_step * dot(s, s);
  float cutoff = sqrt(p2) + 145000.0;
  float2 sum = here;
  [loop] for (int j = 1; j < kLightSteps; ++j) {
    float q2 = p2 + j * (b + j * c);
    if (q2 > cutoff * cutoff && b + 2.0 * j * c > 0.0) break;
    sum += densities_at_height(sqrt(q2) - kGroundRadius);
  }
  return sum * light_step;
}

float3 sky_colour(float3 d, float3 s) {
  float mu = dot(d, s);
  float2 span = march_span(d);
  float step = (span.y - span.x) / kPrimarySteps;
  float3 p0 = kEye + d * span.x;
  // The light rays reuse one step length per texel, taken along the view.
  float light_step = distance_to_sky(p0, d) / kLightSteps;

  float2 depth = 0.0;  // optical depth along the view: Rayleigh, Mie
  float3 sum_r = 0.0, sum_m = 0.0;
  // A real loop: unrolled around the light loop, the Direct3D program is
  // seventeen times larger and slow to create, and lavapipe gains nothing.
  [loop] for (int i = 0; i < kPrimarySteps; ++i) {
    float3 p = p0 + d * (i * step);
    float2 here = densities_at_height(length(p) - kGroundRadius);
    float2 dens = here * step;
    depth += dens;
    float2 total = depth + light_depth(p, here, s, light_step);
    float3 attenuation = exp2(-kLog2E * (kRayleigh * total.x + kMie * total.y));
    sum_r += attenuation * dens.x;
    sum_m += attenuation * dens.y;
  }
  float3 colour = kSunIntensity * (rayleigh_phase(mu) * kRayleigh * sum_r + mie_phase(mu) * kMie * sum_m);
  return colour + sun_disc(mu) * sum_r * kSunDisc;
}

[numthreads(8, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  skyTex[id.xy] = float4(sky_colour(view_direction(id.xy), clamped_sun()), 1.0);
}
