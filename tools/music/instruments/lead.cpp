#include <cmath>

#include "dsp/envelope.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "score/timing.h"

namespace music {

// Two detuned saws and a square an octave down through a low-pass that opens
// with each attack; legato notes glide in instead of re-attacking, and a
// delayed vibrato makes held notes sing.
Stereo renderLead(const Note& n, const VoiceContext& c)
{
    bool legato = n.glideFrom > 0.0;
    Adsr env{legato ? 0.0f : 0.006f, 0.3f, 0.8f, 0.12f};
    float gate = static_cast<float>(rowsToSeconds(n.lengthRows));
    Stereo s = voiceBuffer(gate + env.tail(), c.sampleRate);
    float cutoff = c.score.param(Param::LeadCutoff, n.row, 3200.0f);
    Phase a, b, sub;
    Svf lpL, lpR;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        double pitch = n.pitch;
        if (legato) pitch += (n.glideFrom - n.pitch) * std::exp(-t / 0.03);
        float vibratoDepth = std::clamp((t - 0.25f) / 0.3f, 0.0f, 1.0f) * 0.18f;
        pitch += vibratoDepth * std::sin(2.0 * kPi * 5.3 * t);
        double hz = midiToHz(pitch);
        double dt = hz / c.sampleRate;
        float sa = sawAt(a.advance(hz * 1.004, c.sampleRate), dt);
        float sb = sawAt(b.advance(hz / 1.004, c.sampleRate), dt);
        float sq = squareAt(sub.advance(hz * 0.5, c.sampleRate), dt * 0.5) * 0.35f;
        if (i % 16 == 0) {
            float brightness = legato ? 0.4f : 1.0f;
            float fc = cutoff * (1.0f + 1.6f * brightness * expDecay(t, 0.12f));
            lpL.set(fc, 1.1f, c.sampleRate);
            lpR.set(fc * 1.05f, 1.1f, c.sampleRate);
        }
        float amp = env.at(t, gate) * n.velocity * 0.3f;
        s.l[i] = lpL.low(sa * 0.8f + sb * 0.5f + sq) * amp;
        s.r[i] = lpR.low(sa * 0.5f + sb * 0.8f + sq) * amp;
    }
    return s;
}

} // namespace music
