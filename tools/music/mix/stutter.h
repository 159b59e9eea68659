#pragma once
#include <vector>

#include "dsp/stereo.h"
#include "score/score.h"

namespace music {

// Beat-repeat on the finished mix: each window replays its own first slice,
// gated, with millisecond fades so the cuts do not click.
void applyStutters(Stereo& mix, const std::vector<Stutter>& stutters, float sampleRate);

} // namespace music
