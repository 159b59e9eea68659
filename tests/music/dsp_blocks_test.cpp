// Filters, dynamics and effects of the synthesizer, each on a signal whose
// right answer is known.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/compressor.h"
#include "dsp/reverb.h"
#include "dsp/stereo_delay.h"
#include "dsp/svf.h"
#include "mix/stutter.h"
#include "score/timing.h"
#include "test_signals.h"

namespace music {
namespace {

using namespace music::testing;

double lowPassGainDb(float hz, float cutoff)
{
    Stereo s = sine(hz, 0.5f, 1.0f);
    Svf f;
    f.set(cutoff, 0.707f, kRate);
    std::vector<float> out(s.size());
    for (size_t n = 0; n < s.size(); ++n) out[n] = f.low(s.l[n]);
    size_t settle = s.size() / 2;
    return 10.0 * std::log10(energy(out, settle, out.size()) / energy(s.l, settle, s.size()));
}

TEST(StateVariableFilter, LowPassKeepsTheBassAndCutsTheTreble)
{
    EXPECT_NEAR(lowPassGainDb(100.0f, 500.0f), 0.0, 0.5);
    EXPECT_NEAR(lowPassGainDb(500.0f, 500.0f), -3.0, 0.5);
    EXPECT_LT(lowPassGainDb(8000.0f, 500.0f), -40.0);
}

TEST(Compressor, SidechainKeyDucksTheSignalOnlyWhileItSounds)
{
    Stereo pad = sine(300.0f, 0.3f, 1.0f);
    std::vector<float> key(pad.size(), 0.0f);
    size_t hitEnd = static_cast<size_t>(0.1f * kRate);
    for (size_t n = 0; n < hitEnd; ++n) key[n] = 0.9f * std::sin(2.0f * 3.14159265f * 50.0f * n / kRate);
    Stereo ducked = pad;
    compress(ducked, CompressorSettings{-16.0f, 3.0f, 6.0f, 1.0f, 150.0f, 0.0f}, kRate, &key);

    size_t duringHit = static_cast<size_t>(0.05f * kRate), window = 2205;
    double during = energy(ducked.l, duringHit, duringHit + window) / energy(pad.l, duringHit, duringHit + window);
    EXPECT_LT(10.0 * std::log10(during), -6.0);
    size_t after = static_cast<size_t>(0.9f * kRate);
    double recovered = energy(ducked.l, after, after + window) / energy(pad.l, after, after + window);
    EXPECT_NEAR(10.0 * std::log10(recovered), 0.0, 0.5);
}

TEST(Compressor, ReductionFollowsThresholdRatioAndKnee)
{
    CompressorSettings s{-20.0f, 4.0f, 6.0f, 1.0f, 100.0f, 0.0f};
    EXPECT_FLOAT_EQ(compressorReduction(s, -30.0f), 0.0f);
    EXPECT_NEAR(compressorReduction(s, -8.0f), 12.0f * 0.75f, 1e-4);
    float inKnee = compressorReduction(s, -20.0f);
    EXPECT_GT(inKnee, 0.0f);
    EXPECT_LT(inKnee, 3.0f * 0.75f);
}

TEST(Reverb, TailDecaysAtItsSetRateAndSpreadsBothSides)
{
    Stereo impulse(static_cast<size_t>(3.0f * kRate));
    impulse.l[0] = impulse.r[0] = 1.0f;
    ReverbSettings settings;
    settings.decaySeconds = 1.0f;
    Stereo tail = reverb(impulse, settings, kRate);
    size_t second = static_cast<size_t>(kRate);
    double first = energy(tail.l, 0, second), next = energy(tail.l, second, 2 * second);
    // 60 dB per second: the next second is far quieter, but not silent.
    EXPECT_LT(10.0 * std::log10(next / first), -40.0);
    EXPECT_GT(next, 0.0);
    double diff = 0.0;
    for (size_t n = 0; n < second; ++n) diff += std::fabs(tail.l[n] - tail.r[n]);
    EXPECT_GT(diff, 1.0) << "left and right tails differ";
    for (size_t n = 0; n < tail.size(); ++n) ASSERT_TRUE(std::isfinite(tail.l[n]) && std::isfinite(tail.r[n]));
}

TEST(PingPongDelay, EchoesAlternateSidesAtTheDelayTime)
{
    Stereo click(static_cast<size_t>(2.0f * kRate));
    for (size_t n = 0; n < 441; ++n) click.l[n] = click.r[n] = std::sin(2.0f * 3.14159265f * 1000.0f * n / kRate);
    DelaySettings settings;
    Stereo echo = pingPongDelay(click, settings, kRate);
    size_t step = static_cast<size_t>(settings.seconds * kRate + 0.5f), w = 800;
    EXPECT_GT(energy(echo.l, step, step + w), 100.0 * energy(echo.r, step, step + w));
    EXPECT_GT(energy(echo.r, 2 * step, 2 * step + w), 100.0 * energy(echo.l, 2 * step, 2 * step + w));
    EXPECT_LT(energy(echo.l, 0, step - 10) + energy(echo.r, 0, step - 10), 1e-12);
}

TEST(Stutter, RepeatsItsFirstSliceAndMutesOnRequest)
{
    Stereo ramp(static_cast<size_t>(rowToSample(40)));
    for (size_t n = 0; n < ramp.size(); ++n) ramp.l[n] = ramp.r[n] = static_cast<float>(n % 5000) / 5000.0f;
    Stereo s = ramp;
    applyStutters(s, {{8, 16, 2, 2}, {20, 24, 1, 0}}, kRate);

    long begin = rowToSample(8), slice = rowToSample(10) - begin;
    for (long k = 200; k < slice - 200; k += 50) {
        ASSERT_FLOAT_EQ(s.l[begin + slice + k], ramp.l[begin + k]);
        ASSERT_FLOAT_EQ(s.l[begin + 3 * slice + k], ramp.l[begin + k]);
    }
    for (long n = rowToSample(20); n < rowToSample(24); ++n) ASSERT_EQ(s.l[n], 0.0f);
    long outside = rowToSample(30);
    EXPECT_EQ(s.l[outside], ramp.l[outside]);
    EXPECT_EQ(s.l[rowToSample(4)], ramp.l[rowToSample(4)]);
}

} // namespace
} // namespace music
