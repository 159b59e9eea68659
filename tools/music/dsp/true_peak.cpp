#include "dsp/true_peak.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace music {
namespace {

constexpr int kHalfTaps = 12;
constexpr int kTaps = 2 * kHalfTaps;
constexpr int kPhases = 4;

using Table = std::array<std::array<float, kTaps>, kPhases>;

// Hann-windowed sinc taps for fractional offsets 0, 1/4, 2/4, 3/4.
Table makeTable()
{
    Table t{};
    for (int p = 0; p < kPhases; ++p) {
        double frac = static_cast<double>(p) / kPhases;
        for (int k = 0; k < kTaps; ++k) {
            double x = (k - kHalfTaps + 1) - frac;
            double sinc = std::fabs(x) < 1e-12 ? 1.0 : std::sin(3.14159265358979 * x) / (3.14159265358979 * x);
            double w = 0.5 + 0.5 * std::cos(3.14159265358979 * x / (kHalfTaps + 0.5));
            t[p][k] = static_cast<float>(sinc * w);
        }
    }
    return t;
}

const Table& table()
{
    static const Table t = makeTable();
    return t;
}

} // namespace

float truePeakBetween(const std::vector<float>& x, size_t n)
{
    const Table& t = table();
    float peak = std::fabs(x[n]);
    long size = static_cast<long>(x.size());
    for (int p = 1; p < kPhases; ++p) {
        float acc = 0.0f;
        for (int k = 0; k < kTaps; ++k) {
            long idx = static_cast<long>(n) + k - kHalfTaps + 1;
            if (idx >= 0 && idx < size) acc += x[idx] * t[p][k];
        }
        peak = std::max(peak, std::fabs(acc));
    }
    return peak;
}

float truePeak(const std::vector<float>& x)
{
    float peak = 0.0f;
    for (size_t n = 0; n < x.size(); ++n) peak = std::max(peak, truePeakBetween(x, n));
    return peak;
}

} // namespace music
