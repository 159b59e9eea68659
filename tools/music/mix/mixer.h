#pragma once
#include <cstddef>

#include "dsp/stereo.h"
#include "score/score.h"

namespace music {

// Plays every note of the score through its channel strip, the sidechained
// music bus, the drum bus, reverb and delay, and returns the summed mix
// before mastering. `samples` is the length of the result from row 0.
Stereo mixScore(const Score& score, size_t samples, float sampleRate);

} // namespace music
