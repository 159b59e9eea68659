// Small maths that needs no resources, so programs with a constant block of
// their own (the lens dirt) can share it; common.hlsli includes it.
#ifndef MATHS_HLSLI
#define MATHS_HLSLI

static const float PI = 3.14159265;

// Floor-based modulo: GLSL's mod, not HLSL's truncating fmod.
float mod_floor(float x, float y) { return x - y * floor(x / y); }

// Cubic ease t^2 (3 - 2t) of an already clamped t.
float ease(float t) { return t * t * (3.0 - 2.0 * t); }

// Integer hash of two 32-bit values, in [0, 1); all arithmetic wraps.
float hash_u2(uint a, uint b) {
  uint x = a ^ (b >> 1);
  uint y = b ^ (a >> 1);
  x *= 1103515245u;
  y *= 1103515245u;
  uint n = 1103515245u * (x ^ (y >> 3));
  return float(n) * (1.0 / 4294967296.0);
}

#endif
