#include "dsp/loudness.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace music {
namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double process(double x)
    {
        double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages, derived for any sample rate from the analogue
// prototypes so 44.1 kHz needs no table of its own.
Biquad highShelf(double fs)
{
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(std::numbers::pi * f0 / fs);
    double vh = std::pow(10.0, gainDb / 20.0);
    double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad highPass(double fs)
{
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    double k = std::tan(std::numbers::pi * f0 / fs);
    double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// Sum over channels of the K-weighted square, per sample.
std::vector<double> weightedPower(const Stereo& s, double fs)
{
    std::vector<double> p(s.size());
    Biquad shL = highShelf(fs), shR = highShelf(fs), hpL = highPass(fs), hpR = highPass(fs);
    for (size_t n = 0; n < s.size(); ++n) {
        double l = hpL.process(shL.process(s.l[n]));
        double r = hpR.process(shR.process(s.r[n]));
        p[n] = l * l + r * r;
    }
    return p;
}

double toLufs(double power) { return power > 0.0 ? -0.691 + 10.0 * std::log10(power) : -200.0; }

} // namespace

double integratedLoudness(const Stereo& signal, double sampleRate)
{
    std::vector<double> p = weightedPower(signal, sampleRate);
    std::vector<double> prefix(p.size() + 1, 0.0);
    for (size_t n = 0; n < p.size(); ++n) prefix[n + 1] = prefix[n] + p[n];
    size_t block = static_cast<size_t>(0.4 * sampleRate), step = block / 4;
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= p.size(); start += step)
        blocks.push_back((prefix[start + block] - prefix[start]) / static_cast<double>(block));

    auto gatedMean = [&](double gateLufs) {
        double sum = 0.0;
        size_t count = 0;
        for (double b : blocks)
            if (toLufs(b) > gateLufs) {
                sum += b;
                ++count;
            }
        return count ? sum / static_cast<double>(count) : 0.0;
    };
    double absolute = gatedMean(-70.0);
    if (absolute <= 0.0) return -200.0;
    return toLufs(gatedMean(toLufs(absolute) - 10.0));
}

double sectionLoudness(const Stereo& signal, double sampleRate, size_t begin, size_t end)
{
    std::vector<double> p = weightedPower(signal, sampleRate);
    double sum = 0.0;
    for (size_t n = begin; n < end && n < p.size(); ++n) sum += p[n];
    return end > begin ? toLufs(sum / static_cast<double>(end - begin)) : -200.0;
}

} // namespace music
