// The first scene: two rows of rolling, glowing cubes on an endless ground,
// the lettering lying between the rows, the logo on a plane that travels
// with time, and the sky. Two jittered, motion-blurred samples per pixel;
// alpha carries the ray distance for the sun shafts.
#define UNIFORM_FIELDS 26
#include "common.hlsli"
#include "cube_pattern.hlsli"
#include "scene_background.hlsli"
#include "scene_lighting.hlsli"

SamplerState smpBorder : register(s1);
SamplerState smpRepeat : register(s2);
Texture2D<float4> skyTex : register(t0);
Texture2D<float4> logoTex : register(t1);
Texture2D<float4> blueNoiseTex : register(t2);
Texture2D<float4> vlmArmyTex : register(t3);
STORAGE_FORMAT(rgba16f) RWTexture2D<float4> screen : register(u0);

static const float FAR = 35.0;
static const float MISS_DISTANCE = 999.0;

struct Shaded {
  float3 colour;
  float distance;
};

float march(CubeField cf, Ray r) {
  float t = 0.25;
  [loop] for (int i = 0; i < 256; ++i) {
    float f = field_distance(cf, r.origin + r.dir * t);
    t += f;
    if (abs(f) < 0.001 || t > FAR) break;
  }
  return t;
}

// The logo hangs on the plane z = time + 2; its height ignores the camera's,
// so it rides along when the camera rises.
Shaded logo_over(float3 background, Ray r) {
  Shaded s;
  s.colour = background;
  s.distance = MISS_DISTANCE;
  if (showLogo == 0.0) return s;  // what blending the logo in with weight zero gives
  float t = (time + 2.0 - r.origin.z) / r.dir.z;
  float4 c = float4(0.0, 0.0, 0.0, -1.0);
  if (t > 0.0 && t < 3.0e38) {  // a ray parallel to the plane never meets it
    float2 at = -float2((r.dir.x * t + r.origin.x) / 1920.0, r.dir.y * t / 473.0) * 800.0 +
                float2(0.45, 1.9);
    c = pow(abs(logoTex.SampleLevel(smpBorder, at, 0)), 2.2);
  }
  float a = saturate(c.a) * showLogo;
  s.colour = lerp(background, c.rgb, a);
  s.distance = a > 0.0 ? lerp(MISS_DISTANCE, t, a) : MISS_DISTANCE;
  return s;
}

struct CubeHit {
  float3 local;
  float3 local_normal;
  float seed;
};

// The nearer cube at p in its own frame, with the seed of its cell.
CubeHit nearer_cube(CubeField cf, float3 p, float3 n) {
  float x = repeat_x(p.x, cf.repeat);
  float3 la = cube_local(x, p.y, p.z, -1.0, cf.a);
  float3 lb = cube_local(x, p.y, p.z, 1.0, cf.b);
  bool is_a = cube_distance(la) <= cube_distance(lb);
  // Picked field by field: vkd3d-compiler does not implement ?: on a struct.
  float angle = is_a ? cf.a.angle : cf.b.angle;
  float tick = is_a ? cf.a.tick : cf.b.tick;
  CubeHit h;
  h.local = is_a ? la : lb;
  h.local_normal = float3(n.x, rotate2(n.yz, angle));
  float z_cell = floor((p.z - tick) / 4.0) + (is_a ? 0.0 : 1000.0);
  h.seed = Hh(z_cell) + Hh(floor(p.x / 4.0));
  return h;
}

// The cubes' glow on the ground fades with the distance to the nearest one.
float ground_glow(float to_cube) { return pow(20.0 * to_cube + 2.0, -2.5); }

// The lettering lies on the ground between the rows and brightens it.
float lettering(float3 p) {
  if (abs(p.x) >= 1.0 || p.z <= 0.02 || p.z >= 31.6) return 0.0;
  float2 at = float2(-400.0 * p.z / 12630.0, 400.0 * p.x / 1080.0 + 0.53);
  return vlmArmyTex.SampleLevel(smpRepeat, at, 0).a;
}

// Fog starts nearer on the cubes than on the ground, until the second half
// of the scene pulls it back so the cubes can be seen from afar.
float fog_start(bool on_cube) { return on_cube ? (time > 48.0 ? 25.0 : 5.0) : 15.0; }

// Terms whose weight is exactly zero (no glow, sun down, no lettering, no
// fog) are skipped: adding them with weight zero gives the same colour.
Shaded shade_surface(CubeField cf, Ray r, float t, float at_p) {
  float3 p = r.origin + r.dir * t;
  float3 s = sun_direction();
  float3 n = scene_normal(cf, p, at_p);
  float cubes = cubes_distance(cf, p);
  bool on_cube = cubes < p.y;
  float3 emission = 0.0;
  if (cubeIllum != 0.0) {
    if (on_cube) {
      CubeHit hit = nearer_cube(cf, p, n);
      emission = cube_emission(hit.local, hit.local_normal, scene_pattern_style(hit.seed, time));
    } else {
      emission = ground_glow(cubes);
    }
  }
  float3 colour = emission * cubeIllum + direct_light(cf, p, n, s) + ambient_light(cf, p, n, s);
  if (!on_cube && textVlmArmy != 0.0) colour *= 1.0 + textVlmArmy * lettering(p);

  Shaded result;
  result.distance = length(p - r.origin);
  float start = fog_start(on_cube);
  float fog = ease(saturate((result.distance - start) / (FAR - start)));
  result.colour = colour;
  if (fog > 0.0) result.colour = lerp(colour, scene_background(r.dir, skyTex, smpRepeat), fog);
  return result;
}

Shaded shade(Ray r) {
  CubeField cf = make_cube_field(time + plasmaOffset, cubesRepeat);
  float t = march(cf, r);
  float at_p = field_distance(cf, r.origin + r.dir * t);
  if (at_p > 1.0) return logo_over(scene_background(r.dir, skyTex, smpRepeat), r);
  return shade_surface(cf, r, t, at_p);
}

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float3 n = blue_noise(blueNoiseTex, id.xy);
  float4 sum = 0.0;
  [loop] for (int i = 0; i < 2; ++i) {
    Shaded s = shade(camera_sample(float2(id.xy), n));
    sum += float4(s.colour, s.distance);
    n = next_noise(n);
  }
  screen[id.xy] = clamp(0.5 * sum, 0.0, 10.0);
}
