#pragma once
#include <cmath>

namespace music {

constexpr double kPi = 3.14159265358979323846;

// Band-limited step correction; without it saws and squares alias audibly
// in the top octave at 44.1 kHz.
inline double polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Phase accumulator in [0, 1); frequency may change every sample.
struct Phase {
    double value = 0.0;
    double advance(double hz, double sampleRate)
    {
        double inc = hz / sampleRate;
        double t = value;
        value += inc;
        value -= std::floor(value);
        return t;
    }
};

// Sine of a phase in cycles (any real number), from a table with linear
// interpolation: error under -120 dB, several times cheaper than std::sin,
// which matters with a few million oscillator samples per voice type.
float sineAt(double t);

inline float sawAt(double t, double dt) { return static_cast<float>(2.0 * t - 1.0 - polyBlep(t, dt)); }

inline float squareAt(double t, double dt)
{
    double t2 = t + 0.5;
    t2 -= std::floor(t2);
    double v = (t < 0.5 ? 1.0 : -1.0) + polyBlep(t, dt) - polyBlep(t2, dt);
    return static_cast<float>(v);
}

inline double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

} // namespace music
