#include "mix/master.h"

#include <algorithm>
#include <cmath>

#include "dsp/compressor.h"
#include "dsp/limiter.h"
#include "dsp/loudness.h"
#include "dsp/svf.h"
#include "dsp/true_peak.h"
#include "score/timing.h"

namespace music {
namespace {

void fadeAndClean(Stereo& mix, const Score& score)
{
    DcBlocker dl, dr;
    for (size_t n = 0; n < mix.size(); ++n) {
        float g = score.param(Param::MasterGain, static_cast<double>(n) / kSamplesPerRow, 1.0f);
        mix.l[n] = dl.process(mix.l[n] * g);
        mix.r[n] = dr.process(mix.r[n] * g);
    }
}

} // namespace

MasterReport masterMix(Stereo& mix, const Score& score, const MasterSettings& s, float sampleRate)
{
    fadeAndClean(mix, score);
    compress(mix, CompressorSettings{-12.0f, 1.8f, 8.0f, 15.0f, 180.0f, 0.0f}, sampleRate);

    // The limiter takes off more the louder it is driven, so the gain is
    // found by a few rounds of limit-and-measure.
    LimiterSettings limiter{s.ceilingDb, 5.0f, 90.0f};
    std::vector<float> peaks = truePeakEnvelope(mix);
    float gainDb = 0.0f, appliedDb = 0.0f;
    Stereo trial;
    double lufs = -200.0;
    for (int round = 0; round < 4; ++round) {
        appliedDb = gainDb;
        trial = limitScaled(mix, peaks, std::pow(10.0f, appliedDb / 20.0f), limiter, sampleRate);
        lufs = integratedLoudness(trial, sampleRate);
        if (lufs < -150.0 || std::fabs(lufs - s.targetLufs) < 0.05) break;
        gainDb += static_cast<float>(s.targetLufs - lufs);
    }
    mix = std::move(trial);
    float peak = std::max(truePeak(mix.l), truePeak(mix.r));
    return {lufs, 20.0f * std::log10(std::max(peak, 1e-9f)), appliedDb};
}

} // namespace music
