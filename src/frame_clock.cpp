#include "src/frame_clock.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "src/gpu_setup.h"
#include "sync/choreography.h"
#include "sync/track.h"

namespace {

enum class Stored { Value, OneMinus, MinusOne };

struct Evaluation {
  int track;        // index in track_table
  bool look_ahead;  // the motion-blur camera of 1/60 s later
  size_t offset;    // field of the host block
  Stored stored;
};

#define FIELD(f) offsetof(UniformBuffer, f)
// In this order, each on its own position reading.
constexpr Evaluation kEvaluations[27] = {
    {0, true, FIELD(camPosOld.x), Stored::Value},
    {1, true, FIELD(camPosOld.y), Stored::Value},
    {2, true, FIELD(camPosOld.z), Stored::Value},
    {3, true, FIELD(camTargetOld.x), Stored::Value},
    {4, true, FIELD(camTargetOld.y), Stored::Value},
    {5, true, FIELD(camTargetOld.z), Stored::Value},
    {0, false, FIELD(camPos.x), Stored::Value},
    {1, false, FIELD(camPos.y), Stored::Value},
    {2, false, FIELD(camPos.z), Stored::Value},
    {3, false, FIELD(camTarget.x), Stored::Value},
    {4, false, FIELD(camTarget.y), Stored::Value},
    {5, false, FIELD(camTarget.z), Stored::Value},
    {6, false, FIELD(camRoll), Stored::Value},
    {7, false, FIELD(camPitch), Stored::Value},
    {8, false, FIELD(camFov), Stored::Value},
    {9, false, FIELD(fadeBlack), Stored::OneMinus},
    {10, false, FIELD(fadeWhite), Stored::Value},
    {11, false, FIELD(sunTime), Stored::Value},
    {12, false, FIELD(showLogo), Stored::Value},
    {13, false, FIELD(cubeIllum), Stored::Value},
    {14, false, FIELD(bloomFactor), Stored::Value},
    {15, false, FIELD(cubesRepeat), Stored::Value},
    {16, false, FIELD(plasmaOffset), Stored::Value},
    {17, false, FIELD(textVlmArmy), Stored::Value},
    {18, false, FIELD(creditsId), Stored::MinusOne},
    {19, false, FIELD(glitchFactor), Stored::Value},
    {20, false, FIELD(glitchCreditFactor), Stored::Value},
};
#undef FIELD

float transformed(float v, Stored stored) {
  switch (stored) {
    case Stored::OneMinus: return static_cast<float>(1.0 - static_cast<double>(v));
    case Stored::MinusOne: return static_cast<float>(static_cast<double>(v) - 1.0);
    default: return v;
  }
}

void evaluate(Renderer& r, PlaybackState& playback, const Evaluation& e) {
  double row = seconds_to_row(playback_seconds(playback), e.look_ahead ? kLookAheadSeconds : 0.0);
  float v = static_cast<float>(track_value_at(track_table[e.track], row));
  float stored = transformed(v, e.stored);
  std::memcpy(reinterpret_cast<unsigned char*>(&r.uniforms) + e.offset, &stored, sizeof stored);
}

}  // namespace

float samples_to_seconds(uint32_t samples) {
  return static_cast<float>(static_cast<double>(samples)) / static_cast<float>(kClockRate);
}

float playback_seconds(PlaybackState& playback) { return samples_to_seconds(playback_position(playback)); }

double current_row(PlaybackState& playback) { return seconds_to_row(playback_seconds(playback), 0.0); }

float fill_frame_uniforms(Renderer& r, PlaybackState& playback) {
  UniformBuffer& u = r.uniforms;
  float seconds = playback_seconds(playback);
  u.frame += 1;
  u.time = seconds;
  u.elapsed = seconds - r.prevTime;
  r.prevTime = seconds;
  if (seconds == 0.0f) u.frame = 0;
  u.invRes = {1.0f / static_cast<float>(r.screenWidth), 1.0f / static_cast<float>(r.screenHeight)};
  for (const Evaluation& e : kEvaluations) evaluate(r, playback, e);
  upload_uniforms(r);
  return seconds;
}

int32_t credits_image_index(float creditsId) {
  // Out-of-range and NaN values would make the truncation undefined; they
  // select image 0 like every other value outside the table.
  if (!(std::fabs(creditsId) < 2147483520.0f)) return 0;
  int32_t index = static_cast<int32_t>(creditsId) / 3;
  return (index < 0 || index > 26) ? 0 : index;
}
