#pragma once
#include <cstdint>

namespace music {

// A tiny xorshift generator: the same seed always gives the same noise, so a
// render is bit-identical from run to run and machine to machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}

    uint32_t nextBits()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [-1, 1).
    float next() { return static_cast<float>(nextBits() >> 8) * (2.0f / 16777216.0f) - 1.0f; }

    // Uniform in [0, 1).
    float unit() { return static_cast<float>(nextBits() >> 8) * (1.0f / 16777216.0f); }

private:
    uint32_t state_;
};

// Mixes a few integers into a seed so each note gets its own noise.
inline uint32_t mixSeed(uint32_t a, uint32_t b)
{
    uint32_t h = a * 0x85ebca6bu ^ (b + 0x7f4a7c15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    return h;
}

} // namespace music
