#include <array>
#include <cmath>

#include "dsp/envelope.h"
#include "dsp/noise.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"

namespace music {
namespace {

void setBoth(Stereo& s, size_t i, float v)
{
    s.l[i] = v;
    s.r[i] = v;
}

// Six detuned squares, the classic recipe for a metallic cymbal body.
struct Metal {
    std::array<Phase, 6> phases;
    float next(float sampleRate)
    {
        static constexpr std::array<double, 6> hz = {421.0, 640.0, 673.6, 850.0, 941.0, 1294.0};
        float v = 0.0f;
        for (size_t k = 0; k < phases.size(); ++k) v += phases[k].advance(hz[k] * 1.6, sampleRate) < 0.5 ? 1.0f : -1.0f;
        return v / 6.0f;
    }
};

} // namespace

Stereo renderKick(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(0.48f, c.sampleRate);
    Noise noise(c.seed);
    Svf clickFilter;
    clickFilter.set(3000.0f, 0.7f, c.sampleRate);
    Phase phase;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        double hz = 49.0 + 120.0 * std::exp(-t / 0.032) + 300.0 * std::exp(-t / 0.003);
        float body = sineAt(phase.advance(hz, c.sampleRate));
        float amp = std::min(t / 0.0015f, 1.0f) * (0.5f * expDecay(t, 0.2f) + 0.5f * expDecay(t, 0.06f));
        float fade = t > 0.42f ? std::max(0.0f, 1.0f - (t - 0.42f) / 0.06f) : 1.0f;
        float click = clickFilter.high(noise.next()) * expDecay(t, 0.0018f) * 0.5f;
        float v = std::tanh(1.8f * (body * amp * fade + click)) / std::tanh(1.8f);
        setBoth(s, i, v * n.velocity);
    }
    return s;
}

Stereo renderSnare(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(0.45f, c.sampleRate);
    Noise nl(c.seed), nr(c.seed ^ 0x5bd1e995u);
    Svf hpL, hpR, lpL, lpR;
    hpL.set(1400.0f, 0.7f, c.sampleRate);
    hpR.set(1400.0f, 0.7f, c.sampleRate);
    lpL.set(9000.0f, 0.7f, c.sampleRate);
    lpR.set(9000.0f, 0.7f, c.sampleRate);
    Phase p1, p2;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float bend = 1.0f + 0.6f * expDecay(t, 0.012f);
        float tone = sineAt(p1.advance(190.0 * bend, c.sampleRate)) * 0.55f * expDecay(t, 0.05f) +
                     sineAt(p2.advance(330.0 * bend, c.sampleRate)) * 0.25f * expDecay(t, 0.03f);
        float env = std::min(t / 0.001f, 1.0f) * (0.6f * expDecay(t, 0.11f) + 0.4f * expDecay(t, 0.02f));
        float l = lpL.low(hpL.high(nl.next())) * env;
        float r = lpR.low(hpR.high(nr.next())) * env;
        s.l[i] = (tone + l * 0.9f) * n.velocity;
        s.r[i] = (tone + r * 0.9f) * n.velocity;
    }
    return s;
}

Stereo renderClap(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(0.5f, c.sampleRate);
    Noise nl(c.seed), nr(c.seed ^ 0x27d4eb2du);
    Svf bl, br;
    bl.set(1250.0f, 1.3f, c.sampleRate);
    br.set(1350.0f, 1.3f, c.sampleRate);
    constexpr std::array<float, 3> bursts = {0.0f, 0.0105f, 0.0205f};
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float env = 0.0f;
        for (float b : bursts)
            if (t >= b) env += expDecay(t - b, 0.0032f);
        if (t >= 0.03f) env += 0.9f * expDecay(t - 0.03f, 0.13f);
        s.l[i] = bl.band(nl.next()) * env * 1.6f * n.velocity;
        s.r[i] = br.band(nr.next()) * env * 1.6f * n.velocity;
    }
    return s;
}

Stereo renderHat(const Note& n, const VoiceContext& c, bool open)
{
    float decay = open ? 0.2f : 0.028f;
    Stereo s = voiceBuffer(open ? 0.9f : 0.15f, c.sampleRate);
    Noise noise(c.seed);
    Metal metal;
    Svf hp, bp;
    hp.set(7500.0f, 0.7f, c.sampleRate);
    bp.set(10500.0f, 0.9f, c.sampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float raw = metal.next(c.sampleRate) * 0.6f + noise.next() * 0.5f;
        float v = hp.high(bp.band(raw) + raw * 0.2f);
        float env = std::min(t / 0.0005f, 1.0f) * expDecay(t, decay);
        setBoth(s, i, v * env * n.velocity);
    }
    return s;
}

Stereo renderShaker(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(0.12f, c.sampleRate);
    Noise noise(c.seed);
    Svf bp;
    bp.set(6500.0f, 1.5f, c.sampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float env = std::min(t / 0.006f, 1.0f) * expDecay(t, 0.035f);
        setBoth(s, i, bp.band(noise.next()) * env * n.velocity);
    }
    return s;
}

Stereo renderCrash(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(3.2f, c.sampleRate);
    Noise nl(c.seed), nr(c.seed ^ 0x68e31da4u);
    Metal metal;
    Svf hpL, hpR;
    hpL.set(4200.0f, 0.7f, c.sampleRate);
    hpR.set(4600.0f, 0.7f, c.sampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        float env = std::min(t / 0.001f, 1.0f) * (0.55f * expDecay(t, 0.9f) + 0.45f * expDecay(t, 0.08f));
        float m = metal.next(c.sampleRate) * 0.35f;
        s.l[i] = hpL.high(nl.next() + m) * env * n.velocity;
        s.r[i] = hpR.high(nr.next() + m) * env * n.velocity;
    }
    return s;
}

Stereo renderTick(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(0.035f, c.sampleRate);
    Phase phase;
    double hz = midiToHz(n.pitch);
    float held = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        // Sample-and-hold every 7 samples: the crunchy, digital edge of a glitch.
        float v = sineAt(phase.advance(hz * (1.0 + 2.0 * expDecay(t, 0.004f)), c.sampleRate));
        if (i % 7 == 0) held = std::round(v * 6.0f) / 6.0f;
        setBoth(s, i, held * expDecay(t, 0.008f) * n.velocity);
    }
    return s;
}

} // namespace music
