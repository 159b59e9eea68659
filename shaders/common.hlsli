// Shared by every program: the constant block and the helpers several kernels use.
//
// A program sets UNIFORM_FIELDS to 25, 26 or 27 before including this file:
// the block always has the same 144-byte layout, only its trailing names
// differ, exactly as the host fills it (src/uniform_block.h mirrors it and a
// test compares the offsets read from every compiled program).
#ifndef COMMON_HLSLI
#define COMMON_HLSLI

#ifndef UNIFORM_FIELDS
#define UNIFORM_FIELDS 27
#endif

// glslang needs the format of a storage target spelled out (without it the
// image is declared Rgba32f, undefined on real GPUs); the Direct3D compilers
// reject the attribute, and no compiler predefines a macro that tells them
// apart, so the build passes -DSPIRV to glslang.
#ifdef SPIRV
#define STORAGE_FORMAT(f) [[spv::format_##f]]
#else
#define STORAGE_FORMAT(f)
#endif

cbuffer UniformBuffer : register(b0) {
  float2 invRes;        //   0
  uint frame;           //   8
  float time;           //  12
  float3 camPos;        //  16
  float paddingA;       //  28
  float3 camTarget;     //  32
  float paddingB;       //  44
  float3 camPosOld;     //  48
  float paddingAA;      //  60
  float3 camTargetOld;  //  64
  float paddingBB;      //  76
  float camRoll;        //  80
  float camPitch;       //  84
  float camFov;         //  88
  float fadeBlack;      //  92
  float fadeWhite;      //  96
  float sunTime;        // 100
  float showLogo;       // 104
  float cubeIllum;      // 108
  float elapsed;        // 112
  float bloomFactor;    // 116
  float cubesRepeat;    // 120
  float plasmaOffset;   // 124
  float textVlmArmy;    // 128
  float creditsId;      // 132
#if UNIFORM_FIELDS >= 26
  float glitchFactor;   // 136
#endif
#if UNIFORM_FIELDS >= 27
  float glitchCreditFactor;  // 140
#endif
};

// ---- small maths -----------------------------------------------------------

#include "maths.hlsli"

// (x, y) -> (x cos a + y sin a, -x sin a + y cos a)
float2 rotate2(float2 v, float a) {
  float c = cos(a), s = sin(a);
  return float2(v.x * c + v.y * s, -v.x * s + v.y * c);
}

// Float hash of a value already multiplied by 0.1031, in [0, 1). It keeps
// the fraction of a product in the thousands, so a single rounding decides
// its value: every step is precise (no fused or reordered arithmetic), and
// the dot product is spelled out because Direct3D leaves the rounding inside
// one to the driver.
float hash_scaled(float scaled) {
  precise float3 q = frac(float3(scaled, scaled, scaled));
  precise float3 a = q.yzx + 19.19;
  precise float d = q.x * a.x + q.y * a.y + q.z * a.z;
  q += d;
  precise float h = (q.x + q.y) * q.z;
  return frac(h);
}

// Float hash of one value, in [0, 1). A caller that scales x by a constant
// calls hash_scaled with the two factors folded into one instead: a compiler
// may fold them where nothing is precise, so only the folded product gives
// the same hash everywhere.
float Hh(float x) {
  precise float scaled = x * 0.1031;
  return hash_scaled(scaled);
}

// ---- camera ----------------------------------------------------------------

float3 sun_direction() { return normalize(float3(cos(sunTime), sin(sunTime), 2.5)); }

// World direction of the camera ray through pixel position p (in pixels)
// for a camera looking along `target` (a direction, not a point).
float3 camera_ray(float2 p, float3 target) {
  float u = p.x * invRes.x;
  float v = 1.0 - p.y * invRes.y;
  float3 c = normalize(float3((2.0 * u - 1.0) * invRes.y / invRes.x, 2.0 * v - 1.0, camFov));
  float3 f = normalize(target);
  float3 r = normalize(float3(-f.z, 0.0, f.x));
  float3 up = cross(r, f);
  float3 d = r * c.x + up * c.y + f * c.z;
  d.xy = rotate2(d.xy, camRoll);
  d.xy = rotate2(d.xy, camPitch);
  return d;
}

struct Ray {
  float3 origin;
  float3 dir;
};

// One jittered, motion-blurred sample: n is a blue-noise triple in [0, 1).
// The blur leans towards the camera of 1/60 s later, which the host stores in
// the "Old" fields.
Ray camera_sample(float2 pixel, float3 n) {
  float blend = 0.2 * n.z;
  Ray r;
  r.origin = camPos + blend * (camPosOld - camPos);
  r.dir = camera_ray(pixel + n.xy - 0.5, camTarget + blend * (camTargetOld - camTarget));
  return r;
}

// Next blue-noise triple of the same pixel: golden-ratio steps stay well spread.
float3 next_noise(float3 n) { return frac(n + 1.618034); }

// ---- rolling cubes ---------------------------------------------------------

// Eased tick: eases from n to n + 1 in the first half of each unit, then holds.
float eased_tick(float x) { return floor(x) + ease(min(2.0 * frac(x), 1.0)); }

struct CubeFamily {
  float tick;    // also the distance rolled along z
  float angle;   // about the x axis
  float height;  // of the centre
  float2 turn;   // cos and sin of angle, once per family instead of per field sample
};

CubeFamily cube_family(float tick_input) {
  CubeFamily f;
  f.tick = eased_tick(tick_input);
  f.angle = f.tick * PI * 0.5;
  f.height = 0.5 + 0.2 * abs(sin(f.tick * PI));
  f.turn = float2(cos(f.angle), sin(f.angle));
  return f;
}

// The two families of a cube field at clock tau.
CubeFamily cube_family_a(float tau) { return cube_family(-(2.0 * tau + PI) * 0.5); }
CubeFamily cube_family_b(float tau) { return cube_family(-tau); }

// Signed distance to an axis-aligned box of half-size 0.5 around the origin,
// given the absolute local position.
float box_distance(float3 v) {
  v -= 0.5;
  return length(max(v, 0.0)) + min(max(v.x, max(v.y, v.z)), 0.0);
}

// Position of q in the frame of a rolling cube of family f centred at x = xc
// (x already repeated); y is the height above the floor the cubes rest on.
float3 cube_local(float x, float y, float z, float xc, CubeFamily f) {
  float2 v = float2(y - f.height, mod_floor(z - f.tick, 4.0) - 2.0);
  float2 yz = float2(v.x * f.turn.x + v.y * f.turn.y, -v.x * f.turn.y + v.y * f.turn.x);  // rotate2 by angle
  return float3(x - xc, yz.x, yz.y);
}

float cube_distance(float3 local) { return box_distance(abs(local)); }

// The first scene's field: two rows of cubes at x = -1 and x = +1, repeated
// every 4 units while |x| < 4 * cubesRepeat, over the ground plane y = 0.
struct CubeField {
  CubeFamily a;
  CubeFamily b;
  float repeat;
};

CubeField make_cube_field(float tau, float repeat) {
  CubeField cf;
  cf.a = cube_family_a(tau);
  cf.b = cube_family_b(tau);
  cf.repeat = repeat;
  return cf;
}

float repeat_x(float x, float repeat) {
  return abs(x) < 4.0 * repeat ? mod_floor(x - 2.0, 4.0) - 2.0 : x;
}

float cubes_distance(CubeField cf, float3 q) {
  float x = repeat_x(q.x, cf.repeat);
  float da = cube_distance(cube_local(x, q.y, q.z, -1.0, cf.a));
  float db = cube_distance(cube_local(x, q.y, q.z, 1.0, cf.b));
  return min(da, db);
}

float field_distance(CubeField cf, float3 q) { return min(cubes_distance(cf, q), q.y); }

// ---- noise -----------------------------------------------------------------

// Three pseudo-random values in [-0.5, 0.5) for a lattice point; keyed by an
// integer k as random3(float3(k, k, k)).
float3 random3(float3 c) {
  float q = sin(dot(c, float3(17.0, 59.4, 15.0)));
  return frac(q * float3(262144.0, 32768.0, 2097152.0)) - 0.5;
}

// 3D simplex noise, roughly in [-1, 1].
float simplex3(float3 p) {
  float3 s = floor(p + (p.x + p.y + p.z) / 3.0);
  float3 x0 = p - s + (s.x + s.y + s.z) / 6.0;
  float3 e = step(0.0, x0 - x0.yzx);
  float3 i1 = e * (1.0 - e.zxy);
  float3 i2 = 1.0 - e.zxy * (1.0 - e);
  float3 x1 = x0 - i1 + 0.1666667;
  float3 x2 = x0 - i2 + 0.3333334;
  float3 x3 = x0 - 0.4999999;
  float4 w = max(0.6 - float4(dot(x0, x0), dot(x1, x1), dot(x2, x2), dot(x3, x3)), 0.0);
  w *= w;
  w *= w;
  float4 d = float4(dot(random3(s), x0), dot(random3(s + i1), x1),
                    dot(random3(s + i2), x2), dot(random3(s + 1.0), x3));
  return 52.0 * dot(w, d);
}

// Blue-noise triple of a pixel (integer load, level 0).
float3 blue_noise(Texture2D<float4> tex, uint2 pixel) {
  return tex.Load(int3(pixel % 64u, 0)).rgb;
}

#endif
