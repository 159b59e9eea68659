#include <array>
#include <cmath>

#include "dsp/envelope.h"
#include "dsp/noise.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "score/timing.h"

namespace music {
namespace {

// Seven detuned saws spread across the stereo field: the wide chord sound
// that carries the harmony.
struct SupersawShape {
    Adsr env;
    float cutoff;
    float envCutoff;     // extra cutoff at the attack, decaying with filterDecay
    float filterDecay;
    float q;
    float detuneCents;
    float gain;
};

Stereo renderSupersaw(const Note& n, const VoiceContext& c, const SupersawShape& shape)
{
    constexpr int kVoices = 7;
    constexpr std::array<float, kVoices> spread = {-1.0f, -0.64f, -0.3f, 0.0f, 0.3f, 0.64f, 1.0f};
    float gate = static_cast<float>(rowsToSeconds(n.lengthRows));
    Stereo s = voiceBuffer(gate + shape.env.tail(), c.sampleRate);
    Noise noise(c.seed);
    std::array<Phase, kVoices> phases;
    std::array<double, kVoices> hz;
    std::array<PanGains, kVoices> pans;
    for (int v = 0; v < kVoices; ++v) {
        phases[v].value = noise.unit();
        hz[v] = midiToHz(n.pitch + spread[v] * shape.detuneCents / 100.0);
        pans[v] = panGains(spread[(v * 3) % kVoices] * 0.9f);
    }
    Svf lpL, lpR;
    float envNow = 0.0f, envStep = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        if (i % 16 == 0) {
            float fc = shape.cutoff + shape.envCutoff * expDecay(t, shape.filterDecay);
            lpL.set(fc, shape.q, c.sampleRate);
            lpR.set(fc, shape.q, c.sampleRate);
        }
        float l = 0.0f, r = 0.0f;
        for (int v = 0; v < kVoices; ++v) {
            float x = sawAt(phases[v].advance(hz[v], c.sampleRate), hz[v] / c.sampleRate);
            l += x * pans[v].l;
            r += x * pans[v].r;
        }
        // The envelope moves slowly next to the audio: evaluated every 8
        // samples and interpolated in between.
        if (i % 8 == 0) {
            envNow = shape.env.at(t, gate);
            envStep = (shape.env.at(t + 8.0f / c.sampleRate, gate) - envNow) / 8.0f;
        }
        float amp = (envNow + envStep * static_cast<float>(i % 8)) * n.velocity * shape.gain;
        s.l[i] = lpL.low(l) * amp;
        s.r[i] = lpR.low(r) * amp;
    }
    return s;
}

} // namespace

Stereo renderPad(const Note& n, const VoiceContext& c)
{
    float cutoff = c.score.param(Param::PadCutoff, n.row, 2400.0f);
    return renderSupersaw(n, c, {{0.4f, 1.5f, 0.8f, 0.5f}, cutoff, 0.0f, 1.0f, 0.8f, 22.0f, 0.16f});
}

Stereo renderStab(const Note& n, const VoiceContext& c)
{
    return renderSupersaw(n, c, {{0.002f, 0.16f, 0.0f, 0.12f}, 900.0f, 6000.0f, 0.09f, 1.1f, 18.0f, 0.2f});
}

Stereo renderGate(const Note& n, const VoiceContext& c)
{
    float cutoff = c.score.param(Param::PadCutoff, n.row, 2400.0f);
    return renderSupersaw(n, c, {{0.002f, 0.05f, 0.7f, 0.012f}, cutoff, 2000.0f, 0.03f, 0.9f, 16.0f, 0.17f});
}

} // namespace music
