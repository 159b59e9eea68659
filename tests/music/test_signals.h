#pragma once
// Test signals shared by the synthesizer tests.
#include <cmath>

#include "dsp/stereo.h"

namespace music::testing {

constexpr float kRate = 44100.0f;

inline Stereo sine(float hz, float amplitude, float seconds, float phase = 0.0f)
{
    Stereo s(static_cast<size_t>(seconds * kRate));
    for (size_t n = 0; n < s.size(); ++n) {
        double v = amplitude * std::sin(2.0 * 3.141592653589793 * hz * static_cast<double>(n) / kRate + phase);
        s.l[n] = static_cast<float>(v);
        s.r[n] = static_cast<float>(v);
    }
    return s;
}

inline void append(Stereo& a, const Stereo& b)
{
    a.l.insert(a.l.end(), b.l.begin(), b.l.end());
    a.r.insert(a.r.end(), b.r.begin(), b.r.end());
}

inline float dbfs(float amplitude) { return std::pow(10.0f, amplitude / 20.0f); }

inline double energy(const std::vector<float>& x, size_t begin, size_t end)
{
    double e = 0.0;
    for (size_t n = begin; n < end && n < x.size(); ++n) e += static_cast<double>(x[n]) * x[n];
    return e;
}

} // namespace music::testing
