#pragma once
#include <vector>

#include "dsp/stereo.h"

namespace music {

struct CompressorSettings {
    float thresholdDb = -20.0f;
    float ratio = 4.0f;
    float kneeDb = 6.0f;
    float attackMs = 5.0f;
    float releaseMs = 120.0f;
    float makeupDb = 0.0f;
};

// Gain reduction in dB (positive) for a detector level, with a soft knee.
float compressorReduction(const CompressorSettings& s, float levelDb);

// Compresses `signal` in place. The detector listens to `key` when given
// (sidechain: the kick ducks the pads), otherwise to the signal itself.
void compress(Stereo& signal, const CompressorSettings& s, float sampleRate,
              const std::vector<float>* key = nullptr);

} // namespace music
