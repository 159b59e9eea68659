#pragma once
// Sound as a 32-bit float WAV file: the soundtrack of a captured range, for
// ffmpeg to mux under the video, and the synthesizer's render.

#include <cstdint>
#include <string>

#include "src/pass_schedule.h"

struct PcmSource {
  const float* samples = nullptr;  // interleaved
  uint64_t frames = 0;             // sample frames available
  int channels = 2;
  int rate = static_cast<int>(kClockRate);
};

// Writes sample frames [first, first + count) of `source`; frames beyond its
// end are silence, so a range that runs past the song still has its length.
bool write_float_wav(const std::string& path, const PcmSource& source, uint64_t first, uint64_t count,
                     std::string* error);
