// Rendering: every instrument sounds, the mix is reproducible and the
// master meets its loudness and peak targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dsp/loudness.h"
#include "dsp/true_peak.h"
#include "instruments/voice.h"
#include "mix/master.h"
#include "mix/mixer.h"
#include "score/timing.h"
#include "song/builder.h"

namespace music {
namespace {

constexpr float kRate = 44100.0f;

Score shortSong()
{
    SongBuilder b(128);
    b.drums(Instrument::Kick, "x...x...x...x...", 0, 4);
    b.drums(Instrument::Clap, "....x.......x...", 0, 4);
    b.drums(Instrument::ClosedHat, "ooxoooxoooxoooxo", 0, 4);
    b.bassLine({"Dm", "Bb"}, ".xxo.xxx.xxo.x5x", 0, 4);
    b.pads({"Dm", "Bb"}, 0, 4);
    b.arpeggio({"Dm", "Bb"}, {0, 1, 2, 3}, 0, 4, 62);
    b.melody(Instrument::Lead, "A4:3 D5:3 F5:2 E5:2 D5:2 A4:4 |", 1);
    b.hit(Instrument::Riser, 64, 0.8f, 48, 32);
    b.hit(Instrument::Impact, 96);
    b.hit(Instrument::Glitch, 90, 1.0f, 60, 4);
    b.stutter(40, 44, 1, 0.5);
    b.automate(Param::PadCutoff, {{0, 400}, {128, 4000}});
    EXPECT_TRUE(b.errors().empty());
    return b.take();
}

TEST(Voices, EveryInstrumentSoundsWithoutBlowingUp)
{
    Score score;
    for (int i = 0; i <= static_cast<int>(Instrument::SubDrop); ++i) {
        Note n{32.0, 4.0, 62.0, 1.0f, static_cast<Instrument>(i), 0.0};
        Stereo s = renderNote(n, VoiceContext{score, kRate, 1234});
        SCOPED_TRACE("instrument " + std::to_string(i));
        ASSERT_GT(s.size(), 100u);
        float peak = 0.0f;
        for (size_t k = 0; k < s.size(); ++k) {
            ASSERT_TRUE(std::isfinite(s.l[k]) && std::isfinite(s.r[k]));
            peak = std::max({peak, std::fabs(s.l[k]), std::fabs(s.r[k])});
        }
        EXPECT_GT(peak, 0.01f);
        EXPECT_LT(peak, 4.0f);
    }
}

TEST(Voices, LeadSlidesIntoItsPitchFromTheNoteBefore)
{
    Score score;
    // The lag of the strongest self-similarity: the waveform's period.
    auto period = [&](double glideFrom, size_t begin, size_t end) {
        Note n{0.0, 16.0, 69.0, 1.0f, Instrument::Lead, glideFrom};
        Stereo s = renderNote(n, VoiceContext{score, kRate, 1});
        size_t best = 0;
        double bestSum = -1e30;
        for (size_t lag = 50; lag < 450; ++lag) {
            double sum = 0.0;
            for (size_t k = begin; k < end; ++k) sum += s.l[k] * s.l[k + lag];
            if (sum > bestSum) bestSum = sum, best = lag;
        }
        return static_cast<double>(best);
    };
    // Right after the attack a slide from an octave below still sounds lower;
    // once it has arrived both play the same A.
    EXPECT_GT(period(57.0, 200, 1200), 1.1 * period(0.0, 200, 1200));
    EXPECT_NEAR(period(57.0, 8000, 10000), period(0.0, 8000, 10000), 1.0);
}

TEST(Render, IsBitForBitReproducible)
{
    Score score = shortSong();
    size_t samples = static_cast<size_t>(rowToSample(128));
    Stereo a = mixScore(score, samples, kRate);
    Stereo b = mixScore(score, samples, kRate);
    ASSERT_EQ(a.size(), samples);
    EXPECT_TRUE(a.l == b.l && a.r == b.r);
    EXPECT_GT(*std::max_element(a.l.begin(), a.l.end()), 0.05f);
}

TEST(Master, ReachesTheLoudnessTargetUnderTheTruePeakCeiling)
{
    Score score = shortSong();
    Stereo mix = mixScore(score, static_cast<size_t>(rowToSample(128)), kRate);
    MasterReport report = masterMix(mix, score, MasterSettings{-14.0, -2.0f}, kRate);
    EXPECT_NEAR(report.loudnessLufs, -14.0, 0.3);
    EXPECT_NEAR(integratedLoudness(mix, kRate), report.loudnessLufs, 0.01);
    float peakDb = 20.0f * std::log10(std::max(truePeak(mix.l), truePeak(mix.r)));
    EXPECT_LE(peakDb, -2.0f + 0.1f);
    EXPECT_NEAR(report.truePeakDb, peakDb, 0.01f);
    double sum = 0.0;
    for (float v : mix.l) sum += v;
    EXPECT_LT(std::fabs(sum / static_cast<double>(mix.size())), 1e-3) << "no DC offset";
}

} // namespace
} // namespace music
