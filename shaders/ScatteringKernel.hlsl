// Sun shafts of the first scene: five jittered samples along each camera ray,
// up to the distance the scene kernel left in the render texture's alpha, each
// lit unless the rolling cubes or the logo hide the sun from it. The result
// is a strongly forward-peaked glow that the composite blurs and adds.
#define UNIFORM_FIELDS 26
#include "common.hlsli"

SamplerState smpClamp : register(s0);
SamplerState smpBorder : register(s1);
Texture2D<float4> renderTex : register(t0);
Texture2D<float4> logoTex : register(t1);
Texture2D<float4> blueNoiseTex : register(t2);
STORAGE_FORMAT(rgba16f) RWTexture2D<float4> scatteringTex : register(u0);

static const int kSamples = 5;
static const int kShadowSteps = 64;
static const float kShadowReach = 10.0;
static const float3 kShaftColour = float3(1.0, 0.7, 0.5);

// Henyey-Greenstein with g = 0.98. Its base is clamped to 1, so every angle
// further than about 60 degrees from the sun shares one floor value.
float shaft_phase(float cos_angle) {
  float b = saturate(1.9604 - 1.96 * cos_angle);
  return 0.0396 / (4.0 * PI * pow(b, 1.5));
}

// Sphere-traces towards the sun; only a ray that gets 10 units away counts as
// lit, so one that runs out of steps grazing a cube stays dark. A ray given
// no steps is dark.
bool sun_visible(CubeField field, float3 p, float3 s, int steps) {
  float t = 0.01;
  for (int i = 0; i < steps; ++i) {
    float f = field_distance(field, p + s * t);
    if (abs(f) < 0.01) break;
    t += f;
    if (t > kShadowReach) break;
  }
  return t >= kShadowReach;
}

// The logo hangs in the plane z = time + 2. Its height is measured from the
// ray alone, without the camera's height, as the scene places it. Its alpha
// comes from an 8-bit image, so any alpha above 0 keeps alpha^2.2 above 0.
bool logo_shadows(float3 p, float ray_height, float3 s, float scene_distance) {
  float t = (time + 2.0 - p.z) / s.z;
  if (!(t > 0.0 && t < scene_distance)) return false;
  float2 at = float2(p.x + s.x * t, ray_height + s.y * t) * float2(-0.41666666, -1.691332) +
              float2(0.45, 1.9);
  return logoTex.SampleLevel(smpBorder, at, 0).a != 0.0;
}

[numthreads(8, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float3 d = camera_ray(float2(id.xy), camTarget);
  float scene_distance = renderTex.SampleLevel(smpClamp, id.xy * invRes, 0).a;
  float jitter = blue_noise(blueNoiseTex, id.xy).r;
  float3 s = sun_direction();
  float phase = shaft_phase(dot(s, d));
  CubeField field = make_cube_field(time + plasmaOffset, cubesRepeat);

  // With the sun down the shafts are faded out entirely: no sample is taken.
  // Loop counts rather than branches decide what is skipped, since a device
  // that runs many pixels in lockstep leaves a loop only when all are done.
  int samples = s.y > 0.0 ? kSamples : 0;
  float sum = 0.0;
  for (int k = 0; k < samples; ++k) {
    float3 ray = d * scene_distance * (0.2 * k + 0.2 * jitter);
    float3 p = camPos + ray;
    int steps = logo_shadows(p, ray.y, s, scene_distance) ? 0 : kShadowSteps;
    if (sun_visible(field, p, s, steps)) sum += phase;
  }
  // The shafts fade out as the sun sinks to the horizon.
  float3 colour = 2.0 * sum * kShaftColour * ease(saturate(10.0 * s.y));
  scatteringTex[id.xy] = float4(colour, 1.0);
}
