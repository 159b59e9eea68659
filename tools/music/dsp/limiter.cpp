#include "dsp/limiter.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "dsp/true_peak.h"

namespace music {
namespace {

std::vector<float> requiredGain(const Stereo& s, float ceiling)
{
    std::vector<float> req(s.size(), 1.0f);
    for (size_t n = 0; n < s.size(); ++n) {
        float peak = std::max(truePeakBetween(s.l, n), truePeakBetween(s.r, n));
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

void limit(Stereo& signal, const LimiterSettings& s, float sampleRate)
{
    float ceiling = std::pow(10.0f, s.ceilingDb / 20.0f);
    size_t window = std::max<size_t>(1, static_cast<size_t>(s.lookaheadMs * 0.001f * sampleRate));
    std::vector<float> g = forwardMinimum(requiredGain(signal, ceiling), window);
    applyRelease(g, 1.0f - std::exp(-1.0f / (s.releaseMs * 0.001f * sampleRate)));
    g = backwardAverage(g, window);
    for (size_t n = 0; n < signal.size(); ++n) {
        signal.l[n] *= g[n];
        signal.r[n] *= g[n];
    }
}

} // namespace music
