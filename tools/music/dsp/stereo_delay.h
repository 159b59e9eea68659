#pragma once
#include "dsp/stereo.h"

namespace music {

struct DelaySettings {
    float seconds = 0.375f;   // a dotted eighth at 120 BPM
    float feedback = 0.4f;
    float lowPassHz = 3500.0f; // each repeat a little darker, like tape
    float highPassHz = 350.0f;
};

// Ping-pong echo: repeats alternate between the sides. Returns only the echoes.
Stereo pingPongDelay(const Stereo& input, const DelaySettings& s, float sampleRate);

} // namespace music
