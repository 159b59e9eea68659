#pragma once
// Just enough float vector maths to write the kernels' helpers in C++ the
// way the programs compute them (float32 throughout, same operation order).
#include <cmath>

namespace ref {

struct V2 {
  float x = 0, y = 0;
};
struct V3 {
  float x = 0, y = 0, z = 0;
};

inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float s) { return {a.x * s, a.y * s}; }
inline V2 operator+(V2 a, float s) { return {a.x + s, a.y + s}; }

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, V3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator*(float s, V3 a) { return a * s; }
inline V3 operator+(V3 a, float s) { return {a.x + s, a.y + s, a.z + s}; }

inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalize(V3 a) { return a * (1.0f / length(a)); }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

inline float frac(float x) { return x - std::floor(x); }
inline float saturate(float x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }
inline float lerp(float a, float b, float t) { return a + t * (b - a); }
inline V3 lerp(V3 a, V3 b, float t) { return {lerp(a.x, b.x, t), lerp(a.y, b.y, t), lerp(a.z, b.z, t)}; }
inline float ease(float t) { return t * t * (3.0f - 2.0f * t); }
inline float mod_floor(float x, float y) { return x - y * std::floor(x / y); }

// (x, y) -> (x cos a + y sin a, -x sin a + y cos a)
inline V2 rotate2(V2 v, float a) {
  float c = std::cos(a), s = std::sin(a);
  return {v.x * c + v.y * s, -v.x * s + v.y * c};
}

constexpr float kPi = 3.14159265f;

}  // namespace ref
