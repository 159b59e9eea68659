#include <cstdio>
#include <cstdlib>

#include "src/mp3_decode.h"
#include "src/soundtrack.h"
#include "platform/program_name.h"

float* soundtrack_pcm = nullptr;
std::uint32_t soundtrack_sample_count = 0;
platform::WaveFormat soundtrack_format;
platform::WaveBlock soundtrack_block;

namespace {

constexpr std::uint64_t kSampleCountLimit = std::uint64_t{1} << 30;

// What the clock assumes when the stream does not say: stereo at 44.1 kHz.
constexpr std::uint16_t kFallbackChannels = 2;
constexpr std::uint32_t kFallbackRate = 44'100;

platform::WaveFormat float_format(int channels, long rate) {
  platform::WaveFormat format;
  format.format_tag = platform::kWaveFormatIeeeFloat;
  format.channels = channels > 0 ? static_cast<std::uint16_t>(channels) : kFallbackChannels;
  format.samples_per_sec = rate > 0 ? static_cast<std::uint32_t>(rate) : kFallbackRate;
  format.bits_per_sample = 32;
  // One frame is one float per channel, for a mono stream as much as for stereo.
  format.block_align = static_cast<std::uint16_t>(format.channels * sizeof(float));
  format.avg_bytes_per_sec = format.samples_per_sec * format.block_align;
  format.extra_size = 0;
  return format;
}

platform::WaveBlock whole_song_block(float* pcm, std::uint32_t sample_count) {
  platform::WaveBlock block;  // no loop flags: the song plays once
  block.data = pcm;
  block.buffer_length = sample_count * static_cast<std::uint32_t>(sizeof(float));
  return block;
}

void report_decoded(const Mp3Decoder& decoder, std::uint64_t decoded) {
  if (!decoder.is_open()) {
    std::fprintf(stderr, "%s: the soundtrack stream cannot be decoded; no music will play\n",
                 platform::program_name());
  } else if (decoded < decoder.total_samples()) {
    std::fprintf(stderr, "%s: the soundtrack decoded short (%llu of %llu samples); the rest is silence\n",
                 platform::program_name(), static_cast<unsigned long long>(decoded),
                 static_cast<unsigned long long>(decoder.total_samples()));
  }
}

}  // namespace

float* allocate_soundtrack_pcm(std::uint64_t sample_count) {
  if (sample_count >= kSampleCountLimit) return nullptr;
  // Zeroed, so whatever the decoder does not reach is silence, and at least
  // one element, so an empty song still has an address.
  const std::size_t count = sample_count ? static_cast<std::size_t>(sample_count) : 1;
  return static_cast<float*>(std::calloc(count, sizeof(float)));
}

bool decode_soundtrack(const unsigned char* data, std::size_t size) {
  Mp3Decoder decoder(data, size);
  const std::uint64_t total = decoder.total_samples();
  float* pcm = allocate_soundtrack_pcm(total);
  if (!pcm) {
    std::fprintf(stderr, "%s: no memory for the decoded soundtrack (%llu samples)\n", platform::program_name(),
                 static_cast<unsigned long long>(total));
    return false;
  }
  release_soundtrack_pcm();
  soundtrack_pcm = pcm;
  soundtrack_sample_count = static_cast<std::uint32_t>(total);
  report_decoded(decoder, decoder.read(soundtrack_pcm, total));
  soundtrack_format = float_format(decoder.channels(), decoder.rate());
  soundtrack_block = whole_song_block(soundtrack_pcm, soundtrack_sample_count);
  return true;
}

void release_soundtrack_pcm() {
  std::free(soundtrack_pcm);
  soundtrack_pcm = nullptr;
  soundtrack_sample_count = 0;
  soundtrack_block = {};
}
