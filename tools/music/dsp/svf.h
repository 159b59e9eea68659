#pragma once
#include <algorithm>
#include <cmath>

namespace music {

// Trapezoidal state-variable filter: stays stable under fast cutoff
// modulation, which the plucks and sweeps rely on.
class Svf {
public:
    void set(float cutoffHz, float q, float sampleRate)
    {
        float fc = std::clamp(cutoffHz, 10.0f, sampleRate * 0.45f);
        g_ = std::tan(3.14159265f * fc / sampleRate);
        k_ = 1.0f / std::max(q, 0.05f);
        a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
        a2_ = g_ * a1_;
        a3_ = g_ * a2_;
    }

    void process(float x)
    {
        float v3 = x - ic2_;
        float v1 = a1_ * ic1_ + a2_ * v3;
        float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2.0f * v1 - ic1_;
        ic2_ = 2.0f * v2 - ic2_;
        low_ = v2;
        band_ = v1;
        high_ = x - k_ * v1 - v2;
    }

    float low(float x) { process(x); return low_; }
    float band(float x) { process(x); return band_; }
    float high(float x) { process(x); return high_; }

private:
    float g_ = 0.0f, k_ = 1.0f, a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
    float low_ = 0.0f, band_ = 0.0f, high_ = 0.0f;
};

// First-order DC blocker; a sum of asymmetric envelopes otherwise leaves a
// small offset that wastes headroom.
class DcBlocker {
public:
    float process(float x)
    {
        float y = x - x1_ + 0.9995f * y1_;
        x1_ = x;
        y1_ = y;
        return y;
    }

private:
    float x1_ = 0.0f, y1_ = 0.0f;
};

} // namespace music
