// The loudness meter against the reference cases of EBU Tech 3341.
#include <gtest/gtest.h>

#include "dsp/loudness.h"
#include "test_signals.h"

namespace music {
namespace {

using namespace music::testing;

TEST(IntegratedLoudness, StereoSineAtMinus23dBFSReadsMinus23Lufs)
{
    EXPECT_NEAR(integratedLoudness(sine(1000.0f, dbfs(-23.0f), 20.0f), kRate), -23.0, 0.1);
    EXPECT_NEAR(integratedLoudness(sine(1000.0f, dbfs(-33.0f), 20.0f), kRate), -33.0, 0.1);
}

TEST(IntegratedLoudness, RelativeGateIgnoresTheQuietEnds)
{
    Stereo s = sine(1000.0f, dbfs(-36.0f), 10.0f);
    append(s, sine(1000.0f, dbfs(-23.0f), 60.0f));
    append(s, sine(1000.0f, dbfs(-36.0f), 10.0f));
    EXPECT_NEAR(integratedLoudness(s, kRate), -23.0, 0.1);
}

TEST(IntegratedLoudness, KWeightingLiftsHighsAndCutsLows)
{
    double mid = integratedLoudness(sine(1000.0f, 0.1f, 5.0f), kRate);
    EXPECT_GT(integratedLoudness(sine(8000.0f, 0.1f, 5.0f), kRate), mid + 3.0);
    EXPECT_LT(integratedLoudness(sine(30.0f, 0.1f, 5.0f), kRate), mid - 3.0);
}

TEST(IntegratedLoudness, SilenceAndSignalsUnderTheAbsoluteGateHaveNoLoudness)
{
    EXPECT_LT(integratedLoudness(Stereo(static_cast<size_t>(kRate * 3)), kRate), -150.0);
    EXPECT_LT(integratedLoudness(sine(1000.0f, dbfs(-80.0f), 3.0f), kRate), -150.0);
    EXPECT_LT(integratedLoudness(Stereo(100), kRate), -150.0) << "shorter than one block";
}

TEST(SectionLoudness, MeasuresOnlyItsOwnSpan)
{
    Stereo s = sine(1000.0f, dbfs(-40.0f), 4.0f);
    append(s, sine(1000.0f, dbfs(-20.0f), 4.0f));
    size_t half = static_cast<size_t>(4.0f * kRate);
    EXPECT_NEAR(sectionLoudness(s, kRate, half + 4410, s.size()), -20.0, 0.2);
    EXPECT_NEAR(sectionLoudness(s, kRate, 4410, half), -40.0, 0.2);
}

} // namespace
} // namespace music
