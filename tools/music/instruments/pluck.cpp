#include <cmath>

#include "dsp/envelope.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "score/timing.h"

namespace music {

// Two-operator FM: the modulation index falls fast after the attack, so each
// note starts bright and glassy and settles into a round tone.
Stereo renderPluck(const Note& n, const VoiceContext& c)
{
    Adsr env{0.002f, 0.16f, 0.0f, 0.06f};
    float gate = static_cast<float>(rowsToSeconds(n.lengthRows));
    Stereo s = voiceBuffer(std::min(gate, 0.6f) + env.tail() + 0.3f, c.sampleRate);
    float cutoff = c.score.param(Param::PluckCutoff, n.row, 5000.0f);
    double hz = midiToHz(n.pitch);
    Phase modL, modR, carL, carR;
    Svf lpL, lpR;
    lpL.set(cutoff, 0.7f, c.sampleRate);
    lpR.set(cutoff, 0.7f, c.sampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float index = 2.8f * expDecay(t, 0.06f) + 0.25f;
        // The two sides are detuned a few cents apart for width.
        float ml = sineAt(modL.advance(hz * 2.0, c.sampleRate)) * index;
        float mr = sineAt(modR.advance(hz * 2.0 * 1.0025, c.sampleRate)) * index;
        float l = sineAt(carL.advance(hz, c.sampleRate) + ml / (2.0 * kPi));
        float r = sineAt(carR.advance(hz * 1.0025, c.sampleRate) + mr / (2.0 * kPi));
        float amp = (0.7f * env.at(t, gate) + 0.3f * std::min(t / 0.002f, 1.0f) * expDecay(t, 0.35f)) * n.velocity;
        s.l[i] = lpL.low(l) * amp;
        s.r[i] = lpR.low(r) * amp;
    }
    return s;
}

} // namespace music
