#include "dsp/limiter.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "dsp/true_peak.h"

namespace music {
namespace {

std::vector<float> requiredGain(const std::vector<float>& peaks, float gain, float ceiling)
{
    std::vector<float> req(peaks.size(), 1.0f);
    for (size_t n = 0; n < peaks.size(); ++n) {
        float peak = peaks[n] * gain;
        if (peak > ceiling) req[n] = ceiling / peak;
    }
    return req;
}

// Minimum of v over [n, n + window): the gain already knows what is coming.
std::vector<float> forwardMinimum(const std::vector<float>& v, size_t window)
{
    std::vector<float> out(v.size());
    std::deque<size_t> q;
    size_t next = 0;
    for (size_t n = 0; n < v.size(); ++n) {
        while (next < v.size() && next < n + window) {
            while (!q.empty() && v[q.back()] >= v[next]) q.pop_back();
            q.push_back(next++);
        }
        while (q.front() < n) q.pop_front();
        out[n] = v[q.front()];
    }
    return out;
}

void applyRelease(std::vector<float>& g, float coeff)
{
    float held = 1.0f;
    for (float& v : g) {
        held = std::min(v, held + (1.0f - held) * coeff);
        v = held;
    }
}

// Average over [n - window + 1, n]; every sample of that span already looked
// at least `window` ahead, so the smoothed gain never exceeds what a peak needs.
std::vector<float> backwardAverage(const std::vector<float>& g, size_t window)
{
    std::vector<float> out(g.size());
    double sum = 0.0;
    for (size_t n = 0; n < g.size(); ++n) {
        sum += g[n];
        if (n >= window) sum -= g[n - window];
        size_t count = std::min(n + 1, window);
        out[n] = static_cast<float>(sum / static_cast<double>(count));
    }
    return out;
}

} // namespace

std::vector<float> truePeakEnvelope(const Stereo& s)
{
    std::vector<float> peaks(s.size());
    for (size_t n = 0; n < s.size(); ++n) peaks[n] = std::max(truePeakBetween(s.l, n), truePeakBetween(s.r, n));
    return peaks;
}

Stereo limitScaled(const Stereo& input, const std::vector<float>& peaks, float gain, const LimiterSettings& s,
                   float sampleRate)
{
    float ceiling = std::pow(10.0f, s.ceilingDb / 20.0f);
    size_t window = std::max<size_t>(1, static_cast<size_t>(s.lookaheadMs * 0.001f * sampleRate));
    std::vector<float> g = forwardMinimum(requiredGain(peaks, gain, ceiling), window);
    applyRelease(g, 1.0f - std::exp(-1.0f / (s.releaseMs * 0.001f * sampleRate)));
    g = backwardAverage(g, window);
    Stereo out(input.size());
    for (size_t n = 0; n < input.size(); ++n) {
        out.l[n] = input.l[n] * gain * g[n];
        out.r[n] = input.r[n] * gain * g[n];
    }
    return out;
}

} // namespace music
