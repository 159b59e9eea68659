// True-peak measurement and the limiter that keeps the song under its ceiling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dsp/limiter.h"
#include "dsp/noise.h"
#include "dsp/true_peak.h"
#include "test_signals.h"

namespace music {
namespace {

using namespace music::testing;

float peakDb(const Stereo& s) { return 20.0f * std::log10(std::max(truePeak(s.l), truePeak(s.r))); }

Stereo limited(const Stereo& in, float gain, float ceilingDb)
{
    return limitScaled(in, truePeakEnvelope(in), gain, LimiterSettings{ceilingDb, 5.0f, 90.0f}, kRate);
}

TEST(TruePeak, FindsThePeakBetweenSamples)
{
    // A quarter of the sample rate at 45 degrees: every sample sits at 0.707
    // of the wave's real crest.
    Stereo s = sine(kRate / 4.0f, 1.0f, 0.5f, 3.14159265f / 4.0f);
    float samplePeak = *std::max_element(s.l.begin() + 100, s.l.end() - 100);
    EXPECT_NEAR(samplePeak, 0.7071f, 0.001f);
    EXPECT_NEAR(truePeak(s.l), 1.0f, 0.02f);
}

TEST(Limiter, HoldsLoudNoiseUnderTheCeiling)
{
    Noise noise(7);
    Stereo s(static_cast<size_t>(kRate * 2));
    for (size_t n = 0; n < s.size(); ++n) {
        float beat = (n % 22050) < 2000 ? 3.0f : 0.5f; // drum-like bursts 10 dB over
        s.l[n] = noise.next() * beat;
        s.r[n] = noise.next() * beat;
    }
    Stereo out = limited(s, 1.0f, -2.0f);
    EXPECT_LE(peakDb(out), -2.0f + 0.05f);
    for (size_t n = 0; n < out.size(); ++n) ASSERT_LT(std::fabs(out.l[n]), 1.0f);
}

TEST(Limiter, LeavesQuietMaterialUntouchedApartFromItsGain)
{
    Stereo s = sine(440.0f, dbfs(-12.0f), 1.0f);
    Stereo out = limited(s, 1.5f, -1.0f);
    for (size_t n = 0; n < s.size(); n += 97) ASSERT_FLOAT_EQ(out.l[n], s.l[n] * 1.5f);
}

TEST(Limiter, ActsOnlyAroundAPeakAndRecovers)
{
    Stereo s = sine(220.0f, 0.25f, 3.0f);
    size_t hit = static_cast<size_t>(kRate);
    for (size_t n = hit; n < hit + 200; ++n) s.l[n] = s.r[n] = 2.0f;
    Stereo out = limited(s, 1.0f, -1.0f);
    EXPECT_LE(peakDb(out), -1.0f + 0.05f);
    size_t early = hit - static_cast<size_t>(0.02f * kRate);
    EXPECT_FLOAT_EQ(out.l[early], s.l[early]) << "the look-ahead starts no earlier than 5 ms";
    size_t late = hit + static_cast<size_t>(1.5f * kRate);
    EXPECT_NEAR(out.l[late], s.l[late], 0.001f) << "gain released after the peak";
}

} // namespace
} // namespace music
