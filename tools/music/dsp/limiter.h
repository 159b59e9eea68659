#pragma once
#include "dsp/stereo.h"

namespace music {

struct LimiterSettings {
    float ceilingDb = -1.5f;     // true-peak ceiling
    float lookaheadMs = 5.0f;    // the gain starts to fall this early
    float releaseMs = 90.0f;
};

// Brick-wall limiter on true (inter-sample) peaks. Works on the whole song at
// once, so its look-ahead needs no extra output delay.
void limit(Stereo& signal, const LimiterSettings& s, float sampleRate);

} // namespace music
