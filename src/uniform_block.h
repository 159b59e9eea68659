#pragma once
// Host copy of the 144-byte constant block every kernel reads at slot b0.
// The layout is fixed by the programs (shaders/common.hlsli); the asserts
// below and a test that reads the offsets back out of every compiled
// program keep the two from drifting apart.

#include <cstddef>
#include <cstdint>

struct float2 {
  float x, y;
};
struct float3 {
  float x, y, z;
};

struct UniformBuffer {
  float2 invRes;
  uint32_t frame;
  float time;
  float3 camPos;
  float paddingA;
  float3 camTarget;
  float paddingB;
  float3 camPosOld;
  float paddingAA;
  float3 camTargetOld;
  float paddingBB;
  float camRoll;
  float camPitch;
  float camFov;
  float fadeBlack;
  float fadeWhite;
  float sunTime;
  float showLogo;
  float cubeIllum;
  float elapsed;
  float bloomFactor;
  float cubesRepeat;
  float plasmaOffset;
  float textVlmArmy;
  float creditsId;
  float glitchFactor;
  float glitchCreditFactor;
};

static_assert(sizeof(UniformBuffer) == 144);
static_assert(offsetof(UniformBuffer, invRes) == 0);
static_assert(offsetof(UniformBuffer, frame) == 8);
static_assert(offsetof(UniformBuffer, time) == 12);
static_assert(offsetof(UniformBuffer, camPos) == 16);
static_assert(offsetof(UniformBuffer, paddingA) == 28);
static_assert(offsetof(UniformBuffer, camTarget) == 32);
static_assert(offsetof(UniformBuffer, paddingB) == 44);
static_assert(offsetof(UniformBuffer, camPosOld) == 48);
static_assert(offsetof(UniformBuffer, paddingAA) == 60);
static_assert(offsetof(UniformBuffer, camTargetOld) == 64);
static_assert(offsetof(UniformBuffer, paddingBB) == 76);
static_assert(offsetof(UniformBuffer, camRoll) == 80);
static_assert(offsetof(UniformBuffer, camPitch) == 84);
static_assert(offsetof(UniformBuffer, camFov) == 88);
static_assert(offsetof(UniformBuffer, fadeBlack) == 92);
static_assert(offsetof(UniformBuffer, fadeWhite) == 96);
static_assert(offsetof(UniformBuffer, sunTime) == 100);
static_assert(offsetof(UniformBuffer, showLogo) == 104);
static_assert(offsetof(UniformBuffer, cubeIllum) == 108);
static_assert(offsetof(UniformBuffer, elapsed) == 112);
static_assert(offsetof(UniformBuffer, bloomFactor) == 116);
static_assert(offsetof(UniformBuffer, cubesRepeat) == 120);
static_assert(offsetof(UniformBuffer, plasmaOffset) == 124);
static_assert(offsetof(UniformBuffer, textVlmArmy) == 128);
static_assert(offsetof(UniformBuffer, creditsId) == 132);
static_assert(offsetof(UniformBuffer, glitchFactor) == 136);
static_assert(offsetof(UniformBuffer, glitchCreditFactor) == 140);

// Byte offset of every field by its name in the programs, in block order.
struct UniformField {
  const char* name;
  size_t offset;
};
#define VELMORAND_FIELD(f) \
  UniformField { #f, offsetof(UniformBuffer, f) }
inline constexpr UniformField kUniformFields[] = {
    VELMORAND_FIELD(invRes),       VELMORAND_FIELD(frame),        VELMORAND_FIELD(time),
    VELMORAND_FIELD(camPos),       VELMORAND_FIELD(paddingA),     VELMORAND_FIELD(camTarget),
    VELMORAND_FIELD(paddingB),     VELMORAND_FIELD(camPosOld),    VELMORAND_FIELD(paddingAA),
    VELMORAND_FIELD(camTargetOld), VELMORAND_FIELD(paddingBB),    VELMORAND_FIELD(camRoll),
    VELMORAND_FIELD(camPitch),     VELMORAND_FIELD(camFov),       VELMORAND_FIELD(fadeBlack),
    VELMORAND_FIELD(fadeWhite),    VELMORAND_FIELD(sunTime),      VELMORAND_FIELD(showLogo),
    VELMORAND_FIELD(cubeIllum),    VELMORAND_FIELD(elapsed),      VELMORAND_FIELD(bloomFactor),
    VELMORAND_FIELD(cubesRepeat),  VELMORAND_FIELD(plasmaOffset), VELMORAND_FIELD(textVlmArmy),
    VELMORAND_FIELD(creditsId),    VELMORAND_FIELD(glitchFactor), VELMORAND_FIELD(glitchCreditFactor),
};
#undef VELMORAND_FIELD
