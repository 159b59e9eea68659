#pragma once
#include <cstddef>
#include <vector>

namespace music {

// Largest magnitude of the band-limited signal between sample n and n + 1,
// estimated by 4x oversampling; a converter (or an MP3 decoder) can swing
// past the samples themselves by up to a few dB.
float truePeakBetween(const std::vector<float>& x, size_t n);

// Largest true peak anywhere in the signal.
float truePeak(const std::vector<float>& x);

} // namespace music
