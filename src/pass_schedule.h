#pragma once
// When the pass chain changes what it runs and what it carries from frame to
// frame, and the clock that says where a frame is. Each value is written
// here once. The runtime's passes run by it; the offline core replays carried
// effects by it, the capture costs its parts by it, the benchmark names its
// sections by it, the preview moves by it and the sync benchmark steps by it,
// so changing a value here changes all of them together.

#include <array>
#include <cstdint>

// The clock. The audio device's position, in played sample frames at the
// soundtrack's rate, is the only clock. The frame clock turns it into
// seconds; the offline frame grid, the preview's moves and the WAV the
// capture writes count in it.
inline constexpr uint32_t kClockRate = 44100;

// The choreography's rows: 16 a second, plus a bias of 0.005 rows so that the
// float32 rounding of seconds never puts a frame in the row before. The
// tracks, every gate below and the preview's row arithmetic depend on both.
inline constexpr int kRowsPerSecond = 16;
inline constexpr double kRowBias = 0.005;

// The motion-blur camera is evaluated this far ahead (1/60 s rounded to
// float32): the frame clock's first six evaluations and the sync benchmark.
inline constexpr double kLookAheadSeconds = static_cast<double>(1.0f / 60.0f);

// ((double)seconds + look_ahead) * 16 + 0.005, all in double.
constexpr double seconds_to_row(float seconds, double look_ahead) {
  return (static_cast<double>(seconds) + look_ahead) * kRowsPerSecond + kRowBias;
}

// The time whose row (without look-ahead) is `row`.
constexpr double row_to_seconds(double row) { return (row - kRowBias) / kRowsPerSecond; }

// Rows where the pass chain changes what it runs (gates on a fresh row).
// From kSceneEndRow on, the sky is no longer drawn and the finale replaces
// the first scene: the runtime's passes, the benchmark's sections and the
// capture's frame costs.
inline constexpr double kSceneEndRow = 1406.0;
// From kShaftsEndRow on, the sun shafts are no longer computed and the
// composite goes on showing the last shafts image made: the runtime's passes,
// and the offline core and the preview, which replay that last frame.
inline constexpr double kShaftsEndRow = 1151.0;

// Thresholds on "PostProcess:glitchCredits" (kGlitchCreditsTrack in
// sync/choreography.h). At or above kParticlePathFrom the logo particles run
// instead of the scene; below kParticleSeedBelow as well the particle step
// seeds the field anew (shaders/LogoParticleStep.hlsl compares with the same
// 100.5: change both together). The runtime's passes, the offline core's
// priming, the capture's frame costs and the benchmark's sections.
inline constexpr double kParticlePathFrom = 100.0;
inline constexpr double kParticleSeedBelow = 100.5;

// The run ends on the first frame whose time reaches this: the intro's main
// loop, and the preview's end.
inline constexpr float kEndSeconds = 136.0f;

// The rows where the music's sections start: the preview's section moves and
// its status line.
inline constexpr std::array<int32_t, 12> kSectionRows = {0,    127,  384,  640,  896,  1152,
                                                         1279, 1406, 1664, 1920, 2046, 2176};
