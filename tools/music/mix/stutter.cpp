#include "mix/stutter.h"

#include <algorithm>

#include "score/timing.h"

namespace music {
namespace {

float edgeFade(long position, long length, long fade)
{
    if (length <= 0) return 0.0f;
    long edge = std::min(position, length - 1 - position);
    return edge >= fade ? 1.0f : static_cast<float>(edge + 1) / static_cast<float>(fade + 1);
}

} // namespace

void applyStutters(Stereo& mix, const std::vector<Stutter>& stutters, float sampleRate)
{
    long fade = static_cast<long>(0.0015f * sampleRate);
    long size = static_cast<long>(mix.size());
    for (const Stutter& s : stutters) {
        long begin = rowToSample(s.row), end = std::min(rowToSample(s.endRow), size);
        long slice = rowToSample(s.row + s.sliceRows) - begin;
        long gate = rowToSample(s.row + s.gateRows) - begin;
        if (begin >= end || slice <= 0 || begin + slice > size) continue;
        std::vector<float> l(mix.l.begin() + begin, mix.l.begin() + begin + slice);
        std::vector<float> r(mix.r.begin() + begin, mix.r.begin() + begin + slice);
        for (long n = begin; n < end; ++n) {
            long pos = (n - begin) % slice;
            float g = pos < gate ? edgeFade(pos, gate, fade) : 0.0f;
            // The last repeat may be cut short by the window's end: fade it too.
            g *= std::min(1.0f, static_cast<float>(end - n) / static_cast<float>(fade + 1));
            mix.l[n] = l[pos] * g;
            mix.r[n] = r[pos] * g;
        }
        // The material after the window comes back in without a click.
        for (long n = end; n < std::min(end + fade, size); ++n) {
            float g = static_cast<float>(n - end + 1) / static_cast<float>(fade + 1);
            mix.l[n] *= g;
            mix.r[n] *= g;
        }
    }
}

} // namespace music
