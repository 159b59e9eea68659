#pragma once
#include "dsp/stereo.h"

namespace music {

struct ReverbSettings {
    float decaySeconds = 2.4f;   // time to fall by 60 dB at low frequencies
    float dampingHz = 5500.0f;   // loop low-pass: highs die faster, like a real room
    float predelayMs = 18.0f;
    float lowCutHz = 220.0f;     // keeps the bass out of the tail
    float size = 1.0f;           // scales every delay line
};

// An eight-line feedback delay network with a Householder mixing matrix;
// dense and colourless enough for pads and snares. Returns only the wet tail.
Stereo reverb(const Stereo& input, const ReverbSettings& s, float sampleRate);

} // namespace music
