#pragma once
#include <cstddef>
#include <string>

#include "dsp/stereo.h"

namespace music {

// Writes samples [begin, begin + count) of `s` as a 32-bit float stereo WAV;
// samples past the end of `s` are written as silence. Returns an error
// message, empty on success.
std::string writeFloatWav(const std::string& path, const Stereo& s, size_t begin, size_t count, int sampleRate);

} // namespace music
