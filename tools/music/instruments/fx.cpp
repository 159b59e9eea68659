#include <algorithm>
#include <cmath>

#include "dsp/envelope.h"
#include "dsp/noise.h"
#include "dsp/oscillator.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "score/timing.h"

namespace music {
namespace {

// Stereo noise through a band-pass whose centre moves from `fromHz` to
// `toHz` on an exponential path, shaped by `level(progress)`.
template <typename Level>
Stereo sweptNoise(const Note& n, const VoiceContext& c, float fromHz, float toHz, Level level)
{
    float seconds = static_cast<float>(rowsToSeconds(n.lengthRows));
    Stereo s = voiceBuffer(seconds, c.sampleRate);
    Noise nl(c.seed), nr(c.seed ^ 0x1b873593u);
    Svf fl, fr;
    for (size_t i = 0; i < s.size(); ++i) {
        float p = static_cast<float>(i) / static_cast<float>(s.size());
        if (i % 16 == 0) {
            float hz = fromHz * std::pow(toHz / fromHz, p);
            fl.set(hz, 2.2f, c.sampleRate);
            fr.set(hz * 1.07f, 2.2f, c.sampleRate);
        }
        float a = level(p) * n.velocity;
        s.l[i] = fl.band(nl.next()) * a;
        s.r[i] = fr.band(nr.next()) * a;
    }
    return s;
}

} // namespace

Stereo renderRiser(const Note& n, const VoiceContext& c)
{
    Stereo s = sweptNoise(n, c, 350.0f, 9000.0f, [](float p) { return p * p * 1.4f; });
    // A sine climbing two octaves under the noise gives the rise a pitch.
    Phase phase;
    double from = midiToHz(n.pitch);
    for (size_t i = 0; i < s.size(); ++i) {
        float p = static_cast<float>(i) / static_cast<float>(s.size());
        float v = sineAt(phase.advance(from * std::pow(4.0, p), c.sampleRate)) * p * p * 0.25f * n.velocity;
        s.l[i] += v;
        s.r[i] += v;
    }
    return s;
}

Stereo renderDownlifter(const Note& n, const VoiceContext& c)
{
    return sweptNoise(n, c, 7000.0f, 250.0f, [](float p) { return std::min(p * 200.0f, 1.0f) * std::pow(1.0f - p, 1.6f); });
}

// A cymbal played backwards: swells up and stops dead at the note's end,
// which is where the following hit lands.
Stereo renderReverseCymbal(const Note& n, const VoiceContext& c)
{
    Note crash = n;
    Stereo s = renderCrash(crash, c);
    size_t length = static_cast<size_t>(rowsToSeconds(n.lengthRows) * c.sampleRate);
    s.resize(std::max(length, s.size()));
    std::reverse(s.l.begin(), s.l.begin() + static_cast<long>(length));
    std::reverse(s.r.begin(), s.r.begin() + static_cast<long>(length));
    s.resize(length);
    return s;
}

Stereo renderImpact(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(3.5f, c.sampleRate);
    Noise nl(c.seed), nr(c.seed ^ 0x85ebca6bu);
    Svf lpL, lpR;
    Phase boom;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = static_cast<float>(i) / c.sampleRate;
        if (i % 16 == 0) {
            float fc = 300.0f + 5000.0f * expDecay(t, 0.12f);
            lpL.set(fc, 0.7f, c.sampleRate);
            lpR.set(fc, 0.7f, c.sampleRate);
        }
        double hz = 36.0 + 70.0 * std::exp(-t / 0.07);
        float low = sineAt(boom.advance(hz, c.sampleRate)) * std::min(t / 0.002f, 1.0f) * expDecay(t, 0.75f);
        float air = expDecay(t, 0.35f) * 0.5f;
        float l = std::tanh(1.5f * low) + lpL.low(nl.next()) * air;
        float r = std::tanh(1.5f * low) + lpR.low(nr.next()) * air;
        s.l[i] = l * n.velocity;
        s.r[i] = r * n.velocity;
    }
    return s;
}

Stereo renderSubDrop(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(static_cast<float>(rowsToSeconds(n.lengthRows)), c.sampleRate);
    Phase phase;
    for (size_t i = 0; i < s.size(); ++i) {
        float p = static_cast<float>(i) / static_cast<float>(s.size());
        double hz = 90.0 * std::pow(30.0 / 90.0, p);
        float amp = std::min(p * 50.0f, 1.0f) * (1.0f - p) * n.velocity;
        float v = sineAt(phase.advance(hz, c.sampleRate)) * amp;
        s.l[i] = v;
        s.r[i] = v;
    }
    return s;
}

// Chopped digital debris: every few milliseconds a new random square tone or
// noise burst, quantised to a few levels and held for several samples.
Stereo renderGlitch(const Note& n, const VoiceContext& c)
{
    Stereo s = voiceBuffer(static_cast<float>(rowsToSeconds(n.lengthRows)), c.sampleRate);
    Noise noise(c.seed);
    Phase phase;
    double hz = 400.0;
    int hold = 4, chunkLeft = 0;
    bool noisy = false;
    float held = 0.0f, side = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        if (chunkLeft-- <= 0) {
            chunkLeft = 200 + static_cast<int>(noise.unit() * 900.0f);
            hz = 150.0 * std::pow(2.0, noise.unit() * 5.0);
            hold = 2 + static_cast<int>(noise.unit() * 10.0f);
            noisy = noise.unit() < 0.35f;
            side = noise.next() * 0.6f;
        }
        float raw = noisy ? noise.next() : (phase.advance(hz, c.sampleRate) < 0.5 ? 0.7f : -0.7f);
        if (i % static_cast<size_t>(hold) == 0) held = std::round(raw * 4.0f) / 4.0f;
        float p = static_cast<float>(i) / static_cast<float>(s.size());
        float edge = std::min({p * 40.0f, (1.0f - p) * 40.0f, 1.0f});
        float v = held * edge * n.velocity * 0.5f;
        s.l[i] = v * (1.0f - side);
        s.r[i] = v * (1.0f + side);
    }
    return s;
}

} // namespace music
