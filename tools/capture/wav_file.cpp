#include "tools/capture/wav_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

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

bool write_float_wav(const std::string& path, const PcmSource& source, uint64_t first,
                     uint64_t count, std::string* error) {
  const uint64_t data_bytes = count * 4u * source.channels;
  if (data_bytes > 0xffffffffu - 64) {
    *error = "the audio of the range is too long for a WAV file";
    return false;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  auto h = header(source, static_cast<uint32_t>(data_bytes), static_cast<uint32_t>(count));
  bool ok = std::fwrite(h.data(), 1, h.size(), file.get()) == h.size();
  const uint64_t available = first < source.frames ? source.frames - first : 0;
  const uint64_t from_song = count < available ? count : available;
  if (from_song)
    ok &= std::fwrite(source.samples + first * source.channels, 4u * source.channels, from_song,
                      file.get()) == from_song;
  std::vector<float> silence(source.channels, 0.0f);
  for (uint64_t i = from_song; i < count && ok; ++i)
    ok = std::fwrite(silence.data(), 4u * source.channels, 1, file.get()) == 1;
  ok &= std::fflush(file.get()) == 0;
  if (!ok) *error = "cannot write " + path + ": " + std::strerror(errno);
  return ok;
}
