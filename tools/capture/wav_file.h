#pragma once
// The soundtrack of a captured range as a 32-bit float WAV file, for ffmpeg
// to mux under the video.

#include <cstdint>
#include <string>

struct PcmSource {
  const float* samples = nullptr;  // interleaved
  uint64_t frames = 0;             // sample frames available
  int channels = 2;
  int rate = 44100;
};

// Writes sample frames [first, first + count) of `source`; frames beyond its
// end are silence, so a range that runs past the song still has its length.
bool write_float_wav(const std::string& path, const PcmSource& source, uint64_t first,
                     uint64_t count, std::string* error);
