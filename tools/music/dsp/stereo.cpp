#include "dsp/stereo.h"

#include <algorithm>
#include <cmath>

namespace music {

PanGains panGains(float pan)
{
    float a = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    return {std::cos(a) * 1.41421356f, std::sin(a) * 1.41421356f};
}

void addInto(Stereo& dst, const Stereo& src, long offset, float gain, float pan)
{
    PanGains p = panGains(pan);
    long begin = std::max(0L, -offset);
    long end = std::min(static_cast<long>(src.size()), static_cast<long>(dst.size()) - offset);
    for (long i = begin; i < end; ++i) {
        dst.l[i + offset] += src.l[i] * gain * p.l;
        dst.r[i + offset] += src.r[i] * gain * p.r;
    }
}

} // namespace music
