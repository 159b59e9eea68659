#include "tools/common/wav_file.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "tools/common/output_file.h"

static_assert(std::endian::native == std::endian::little, "WAV data is written as the host stores floats");

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xff);
  out.push_back(v >> 8 & 0xff);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
void tag(std::vector<uint8_t>& out, const char* four) { out.insert(out.end(), four, four + 4); }

// RIFF header with a WAVE_FORMAT_IEEE_FLOAT fmt chunk and the fact chunk
// non-PCM formats carry.
std::vector<uint8_t> header(const PcmSource& s, uint32_t data_bytes, uint32_t frames) {
  const uint32_t block = 4u * s.channels;
  std::vector<uint8_t> h;
  tag(h, "RIFF");
  put32(h, 4 + (8 + 18) + (8 + 4) + 8 + data_bytes);
  tag(h, "WAVE");
  tag(h, "fmt ");
  put32(h, 18);
  put16(h, 3);
  put16(h, s.channels);
  put32(h, s.rate);
  put32(h, s.rate * block);
  put16(h, block);
  put16(h, 32);
  put16(h, 0);
  tag(h, "fact");
  put32(h, 4);
  put32(h, frames);
  tag(h, "data");
  put32(h, data_bytes);
  return h;
}

}  // namespace

bool write_float_wav(const std::string& path, const PcmSource& source, uint64_t first, uint64_t count,
                     std::string* error) {
  const uint64_t data_bytes = count * 4u * source.channels;
  if (data_bytes > 0xffffffffu - 64) {
    *error = "the audio of the range is too long for a WAV file";
    return false;
  }
  OutputFile file;
  if (!file.open(path, error)) return false;
  auto h = header(source, static_cast<uint32_t>(data_bytes), static_cast<uint32_t>(count));
  const uint64_t available = first < source.frames ? source.frames - first : 0;
  const uint64_t from_song = count < available ? count : available;
  const size_t frame_bytes = 4u * source.channels;
  // Silence after the song's end, in pieces of at most a second.
  const std::vector<float> silence(static_cast<size_t>(source.rate) * source.channels, 0.0f);
  bool ok = file.write(h.data(), h.size(), error) &&
            (from_song == 0 ||
             file.write(source.samples + first * source.channels, from_song * frame_bytes, error));
  for (uint64_t left = count - from_song; ok && left > 0;) {
    const uint64_t piece = std::min<uint64_t>(left, static_cast<uint64_t>(source.rate));
    ok = file.write(silence.data(), piece * frame_bytes, error);
    left -= piece;
  }
  return ok && file.close(error);
}
