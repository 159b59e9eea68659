#include "dsp/oscillator.h"

#include <array>

namespace music {
namespace {

constexpr int kTableSize = 4096;

const std::array<float, kTableSize + 1>& sineTable()
{
    static const auto table = [] {
        std::array<float, kTableSize + 1> t{};
        for (int i = 0; i <= kTableSize; ++i) t[i] = static_cast<float>(std::sin(2.0 * kPi * i / kTableSize));
        return t;
    }();
    return table;
}

} // namespace

float sineAt(double t)
{
    const auto& table = sineTable();
    double x = (t - std::floor(t)) * kTableSize;
    int i = static_cast<int>(x);
    float frac = static_cast<float>(x - i);
    return table[i] + (table[i + 1] - table[i]) * frac;
}

} // namespace music
