// The audio of a captured range as the WAV file ffmpeg muxes.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/common/wav_file.h"

namespace {

std::vector<uint8_t> read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The data chunk's samples, found by walking the chunks as a reader would.
std::vector<float> samples_of(const std::vector<uint8_t>& b, uint16_t* format_tag, uint16_t* channels) {
  size_t at = 12;
  while (at + 8 <= b.size()) {
    uint32_t size = u32(b, at + 4);
    if (!std::memcmp(&b[at], "fmt ", 4)) {
      *format_tag = b[at + 8] | b[at + 9] << 8;
      *channels = b[at + 10] | b[at + 11] << 8;
    }
    if (!std::memcmp(&b[at], "data", 4)) {
      std::vector<float> out(size / 4);
      std::memcpy(out.data(), &b[at + 8], size);
      return out;
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

TEST(WavFile, HoldsExactlyTheRangeAndPadsPastTheSongWithSilence) {
  std::vector<float> song(2 * 10);
  for (size_t i = 0; i < song.size(); ++i) song[i] = 0.5f + static_cast<float>(i);
  PcmSource source{song.data(), 10, 2, 44100};
  std::string path = ::testing::TempDir() + "/range.wav";
  std::string error;
  ASSERT_TRUE(write_float_wav(path, source, 7, 6, &error)) << error;
  auto bytes = read_all(path);
  ASSERT_GE(bytes.size(), 12u);
  EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
  EXPECT_EQ(u32(bytes, 4), bytes.size() - 8);
  uint16_t tag = 0, channels = 0;
  auto samples = samples_of(bytes, &tag, &channels);
  EXPECT_EQ(tag, 3);  // IEEE float
  EXPECT_EQ(channels, 2);
  ASSERT_EQ(samples.size(), 12u);
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(samples[i], song[14 + i]) << i;
  for (size_t i = 6; i < 12; ++i) EXPECT_EQ(samples[i], 0.0f) << i;
  std::remove(path.c_str());
}

TEST(WavFile, AnUnwritablePathIsReported) {
  float one[2] = {0, 0};
  std::string error;
  EXPECT_FALSE(write_float_wav("/nonexistent-folder/a.wav", {one, 1, 2, 44100}, 0, 1, &error));
  EXPECT_NE(error.find("/nonexistent-folder/a.wav"), std::string::npos);
}

TEST(WavFile, AWriteThatFailsPartWayLeavesNoFileBehind) {
  // A file-size limit makes a write fail part way, as a disk that fills up does.
  std::vector<float> song(2 * 44100, 0.25f);
  const std::string path = ::testing::TempDir() + "/cut.wav";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool written = write_float_wav(path, {song.data(), 44100, 2, 44100}, 0, 44100, &error);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot write " + path + ": File too large"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
