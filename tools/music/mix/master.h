#pragma once
#include "dsp/stereo.h"
#include "score/score.h"

namespace music {

struct MasterSettings {
    double targetLufs = -14.0;
    float ceilingDb = -2.0f; // the encoder's own overshoot stays under -1 dBTP
};

struct MasterReport {
    double loudnessLufs;
    float truePeakDb;
    float gainDb; // applied before the limiter
};

// Fades, DC removal, a gentle bus compressor, then the gain that brings the
// limited song to the target loudness.
MasterReport masterMix(Stereo& mix, const Score& score, const MasterSettings& s, float sampleRate);

} // namespace music
