#pragma once
#include <vector>

#include "dsp/stereo.h"

namespace music {

struct LimiterSettings {
    float ceilingDb = -2.0f;     // true-peak ceiling
    float lookaheadMs = 5.0f;    // the gain starts to fall this early
    float releaseMs = 90.0f;
};

// Per sample, the larger true peak of the two channels up to the next sample.
std::vector<float> truePeakEnvelope(const Stereo& s);

// Brick-wall limiter on true (inter-sample) peaks: returns `input` times
// `gain`, held under the ceiling. Works on the whole song at once, so its
// look-ahead needs no output delay. `peaks` is truePeakEnvelope(input),
// computed once when several gains are tried.
Stereo limitScaled(const Stereo& input, const std::vector<float>& peaks, float gain, const LimiterSettings& s,
                   float sampleRate);

} // namespace music
