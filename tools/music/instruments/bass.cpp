#include <cmath>

#include "dsp/envelope.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "score/timing.h"

namespace music {

// Sub sine for weight plus a filtered saw whose filter snaps shut after the
// attack: the pluck of a rolling bass line.
Stereo renderBass(const Note& n, const VoiceContext& c)
{
    Adsr env{0.003f, 0.12f, 0.75f, 0.025f};
    float gate = static_cast<float>(rowsToSeconds(n.lengthRows));
    Stereo s = voiceBuffer(gate + env.tail(), c.sampleRate);
    float cutoff = c.score.param(Param::BassCutoff, n.row, 700.0f);
    double hz = midiToHz(n.pitch);
    Phase sub, saw, saw2;
    Svf lp;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        if (i % 16 == 0) lp.set(cutoff * (1.0f + 3.5f * expDecay(t, 0.07f)), 1.4f, c.sampleRate);
        double dt = hz / c.sampleRate;
        float body = sineAt(sub.advance(hz, c.sampleRate));
        float edge = sawAt(saw.advance(hz, c.sampleRate), dt) + sawAt(saw2.advance(hz * 1.006, c.sampleRate), dt);
        float v = body * 0.75f + lp.low(edge * 0.35f);
        v = std::tanh(1.4f * v) * env.at(t, gate) * n.velocity;
        s.l[i] = v;
        s.r[i] = v;
    }
    return s;
}

} // namespace music
