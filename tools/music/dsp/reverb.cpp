#include "dsp/reverb.h"

#include <array>
#include <cmath>
#include <vector>

#include "dsp/svf.h"

namespace music {
namespace {

constexpr int kLines = 8;
// Mutually prime lengths in milliseconds, so the echoes never line up.
constexpr std::array<float, kLines> kLineMs = {31.3f, 37.9f, 41.7f, 47.3f, 53.9f, 61.1f, 67.3f, 73.7f};

struct Line {
    std::vector<float> buffer;
    size_t pos = 0;
    float gain = 0.0f;
    float lp = 0.0f;

    float read() const { return buffer[pos]; }
    void write(float v)
    {
        buffer[pos] = v;
        if (++pos == buffer.size()) pos = 0;
    }
};

} // namespace

Stereo reverb(const Stereo& input, const ReverbSettings& s, float sampleRate)
{
    std::array<Line, kLines> lines;
    for (int i = 0; i < kLines; ++i) {
        size_t len = static_cast<size_t>(kLineMs[i] * s.size * 0.001f * sampleRate);
        lines[i].buffer.assign(len, 0.0f);
        lines[i].gain = std::pow(10.0f, -3.0f * static_cast<float>(len) / (s.decaySeconds * sampleRate));
    }
    float damp = std::exp(-2.0f * 3.14159265f * s.dampingHz / sampleRate);
    size_t pre = static_cast<size_t>(s.predelayMs * 0.001f * sampleRate) + 1;
    std::vector<float> preL(pre, 0.0f), preR(pre, 0.0f);
    Svf hpL, hpR;
    hpL.set(s.lowCutHz, 0.7f, sampleRate);
    hpR.set(s.lowCutHz, 0.7f, sampleRate);

    Stereo out(input.size());
    size_t prePos = 0;
    for (size_t n = 0; n < input.size(); ++n) {
        float inL = preL[prePos], inR = preR[prePos];
        preL[prePos] = hpL.high(input.l[n]);
        preR[prePos] = hpR.high(input.r[n]);
        if (++prePos == pre) prePos = 0;

        std::array<float, kLines> v;
        float sum = 0.0f;
        for (int i = 0; i < kLines; ++i) {
            Line& line = lines[i];
            line.lp = line.read() * (1.0f - damp) + line.lp * damp;
            v[i] = line.lp * line.gain;
            sum += v[i];
        }
        float reflect = sum * (2.0f / kLines);
        float wetL = 0.0f, wetR = 0.0f;
        for (int i = 0; i < kLines; ++i) {
            float in = (i & 1) ? inR : inL;
            lines[i].write(v[i] - reflect + in * 0.5f);
            float sign = (i & 2) ? -1.0f : 1.0f;
            if (i & 1) wetR += v[i] * sign;
            else wetL += v[i] * sign;
        }
        out.l[n] = wetL * 0.35f;
        out.r[n] = wetR * 0.35f;
    }
    return out;
}

} // namespace music
