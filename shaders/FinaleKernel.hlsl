// The finale: an endless twisting corridor whose floor and ceiling carry
// rolling cubes, lit along the corridor's axis, glowing with the cube
// plasma and either pulsing in waves down the corridor or flickering,
// depending on cubeIllum. Two jittered, motion-blurred samples per pixel;
// alpha carries the ray distance.
#define UNIFORM_FIELDS 27
#include "common.hlsli"
#include "corridor_field.hlsli"
#include "cube_pattern.hlsli"
#include "occlusion.hlsli"

Texture2D<float4> blueNoiseTex : register(t2);
STORAGE_FORMAT(rgba16f) RWTexture2D<float4> screen : register(u0);

static const float FAR = 100.0;

struct March {
  float t;
  float effort;  // share of the step budget used: the glow of near misses
};

March march(CorridorCubes c, Ray r) {
  March m;
  m.t = 0.0;
  int i = 0;
  [loop] for (; i < 256; ++i) {
    float g = corridor_distance(c, r.origin + r.dir * m.t);
    m.t += g;
    if (abs(g) < 0.001 || m.t > FAR) break;
  }
  m.effort = float(min(i, 255)) / 256.0;
  return m;
}

float3 corridor_normal(CorridorCubes c, float3 p, float at_p) {
  const float e = 0.001;
  return normalize(at_p - float3(corridor_distance(c, p - float3(e, 0.0, 0.0)),
                                 corridor_distance(c, p - float3(0.0, e, 0.0)),
                                 corridor_distance(c, p - float3(0.0, 0.0, e))));
}

// Not clamped at zero: deep creases may go darker than black, which the
// fog and the glow then lift again.
float corridor_occlusion(CorridorCubes c, float3 p, float3 n) {
  float occ = 0.0;
  [unroll] for (int i = 0; i < OCCLUSION_PROBES; ++i) {
    float l = occlusion_probe_distance(i, 0.5);
    float3 q = p + l * occlusion_probe_direction(n, l);
    occ += 4.0 * (l - max(corridor_distance(c, q), 0.0));
  }
  return min(1.0 - occ / 16.0, 1.0);
}

// Every 4-unit cell of the corridor has one seed, shared by its cubes.
float cell_seed(CorridorFrame f) {
  return Hh(floor(0.25 * f.twisted.x + 1000.0)) + Hh(floor(0.25 * f.twisted.y + 1000.0)) +
         Hh(floor(0.25 * f.repeated.z + 1000.0));
}

// Lights the cells of one slice in ten as a wave travelling down the corridor.
float pulse(float z) { return frac(0.1 * floor(0.25 * z + 1000.0) - 0.2 * time) < 0.1 ? 1.0 : 0.0; }

// At cubeIllum 1.1 and above the cubes pulse; at 1.0 and below each cell
// flickers at random eight times a second; in between the two blend.
float blink(float seed, float z) {
  float wave = pulse(z);
  float flicker = Hh(floor(8.0 * time) + seed) < 0.1 ? 2.0 : 0.0;
  float k = ease(saturate(-10.0 * (cubeIllum - 1.1)));
  return wave + k * (flicker - wave);
}

// Glow of the nearer cube, in its own frame: the normal follows the twist
// and the mirroring of the floor into the ceiling, like the position.
float3 cube_glow(CorridorCubes c, CorridorFrame f, float3 n, float seed) {
  float3 la = corridor_local_a(f, c);
  float3 lb = corridor_local_b(f, c);
  bool is_a = cube_distance(la) <= cube_distance(lb);
  float2 nt = rotate2(n.xy, 0.02 * f.repeated.z);
  nt.y *= f.twisted.y < 0.0 ? -1.0 : 1.0;
  float angle = is_a ? c.a.angle : c.b.angle;
  float3 local_normal = float3(nt.x, rotate2(float2(nt.y, n.z), angle));
  return cube_emission(is_a ? la : lb, local_normal, finale_pattern_style(seed, time, plasmaOffset));
}

float3 shade_surface(CorridorCubes c, Ray r, March m, float at_p) {
  float3 p = r.origin + r.dir * m.t;
  float3 n = corridor_normal(c, p, at_p);
  float3 diffuse = max(n.z, 0.0) * float3(1.0, 0.95, 0.8);
  float ao = corridor_occlusion(c, p, n);

  CorridorFrame f = corridor_frame(p);
  float seed = cell_seed(f);
  float cubes = corridor_cubes(f, c);
  bool on_cube = cubes < corridor_walls(f);
  // Most cells are dark at any moment (the wave lights one slice in ten,
  // the flicker one cell in ten): their glow is not computed at all.
  float strength = 0.5 * cubeIllum * blink(seed, p.z);
  float3 emission = 0.0;
  if (strength != 0.0 && on_cube) emission = cube_glow(c, f, n, seed) * strength;
  if (strength != 0.0 && !on_cube) emission = pow(40.0 * cubes + 2.0, -2.5) * strength;

  float s2 = m.effort * m.effort;
  float3 colour = 0.1 * (diffuse + ao * float3(0.08, 0.09, 0.1)) + 2.0 * emission +
                  float3(0.2 * (10.0 * r.dir.x + 0.5) * s2, 0.2 * s2, 0.1 * s2);
  if (!on_cube) colour *= 0.5;
  return colour;
}

float4 shade(Ray r) {
  CorridorCubes c = make_corridor_cubes(time);
  March m = march(c, r);
  float3 haze = 0.05 * float3(r.dir.y + 0.85, 0.85, 0.7);
  float at_p = corridor_distance(c, r.origin + r.dir * m.t);
  if (at_p > 1.0) return float4(haze, 1.0);
  float3 colour = shade_surface(c, r, m, at_p);
  return float4(lerp(colour, haze, ease(min(0.01 * m.t, 1.0))), m.t);
}

[numthreads(16, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  float3 n = blue_noise(blueNoiseTex, id.xy);
  float4 sum = 0.0;
  [loop] for (int i = 0; i < 2; ++i) {
    sum += shade(camera_sample(float2(id.xy), n));
    n = next_noise(n);
  }
  screen[id.xy] = 0.5 * sum;
}
