#pragma once
#include <algorithm>
#include <cmath>

namespace music {

// Attack-decay-sustain-release as a closed form of time, so a voice can be
// evaluated at any sample without stepping state (and without drift).
struct Adsr {
    float attack = 0.005f;  // seconds, linear rise
    float decay = 0.2f;     // seconds, time constant of the fall to sustain
    float sustain = 1.0f;   // level while the gate is held
    float release = 0.1f;   // seconds, time constant after the gate

    float held(float t) const
    {
        float rise = attack > 0.0f ? std::min(t / attack, 1.0f) : 1.0f;
        float fall = sustain + (1.0f - sustain) * std::exp(-std::max(t - attack, 0.0f) / decay);
        return rise * fall;
    }

    float at(float t, float gate) const
    {
        if (t < gate) return held(t);
        return held(gate) * std::exp(-(t - gate) / release);
    }

    // Seconds after the gate until the level is below -80 dB.
    float tail() const { return release * 9.2f; }
};

inline float expDecay(float t, float tau) { return std::exp(-t / tau); }

} // namespace music
