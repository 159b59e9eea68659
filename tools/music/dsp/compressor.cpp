#include "dsp/compressor.h"

#include <algorithm>
#include <cmath>

namespace music {

float compressorReduction(const CompressorSettings& s, float levelDb)
{
    float over = levelDb - s.thresholdDb;
    float slope = 1.0f - 1.0f / s.ratio;
    float half = s.kneeDb * 0.5f;
    if (over <= -half) return 0.0f;
    if (over >= half || s.kneeDb <= 0.0f) return over * slope;
    float x = over + half;
    return slope * x * x / (2.0f * s.kneeDb);
}

void compress(Stereo& signal, const CompressorSettings& s, float sampleRate, const std::vector<float>* key)
{
    float att = std::exp(-1.0f / (s.attackMs * 0.001f * sampleRate));
    float rel = std::exp(-1.0f / (s.releaseMs * 0.001f * sampleRate));
    float makeup = std::pow(10.0f, s.makeupDb / 20.0f);
    float reduction = 0.0f;
    for (size_t i = 0; i < signal.size(); ++i) {
        float level = key ? std::fabs((*key)[i]) : std::max(std::fabs(signal.l[i]), std::fabs(signal.r[i]));
        float target = compressorReduction(s, 20.0f * std::log10(level + 1e-9f));
        float coeff = target > reduction ? att : rel;
        reduction = coeff * reduction + (1.0f - coeff) * target;
        float gain = std::pow(10.0f, -reduction / 20.0f) * makeup;
        signal.l[i] *= gain;
        signal.r[i] *= gain;
    }
}

} // namespace music
