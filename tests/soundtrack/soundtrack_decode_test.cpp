#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "src/asset_catalog.h"
#include "src/soundtrack.h"
#include "stream_files.h"

namespace {

struct SoundtrackDecode : ::testing::Test {
  void TearDown() override { release_soundtrack_pcm(); }
};

void expect_block_covers_pcm() {
  EXPECT_EQ(soundtrack_block.data, soundtrack_pcm);
  EXPECT_EQ(soundtrack_block.buffer_length, soundtrack_sample_count * 4u);
  EXPECT_EQ(soundtrack_block.bytes_recorded, 0u);
  EXPECT_EQ(soundtrack_block.user, 0u);
  EXPECT_EQ(soundtrack_block.flags, 0u);  // no loop flags: played once
  EXPECT_EQ(soundtrack_block.loops, 0u);
  EXPECT_EQ(soundtrack_block.next, nullptr);
  EXPECT_EQ(soundtrack_block.reserved, 0u);
}

TEST_F(SoundtrackDecode, TheEmbeddedStreamDecodesWhole) {
  const AssetBytes stream = soundtrack_asset();
  ASSERT_TRUE(decode_soundtrack(stream.data, stream.size));
  EXPECT_EQ(soundtrack_sample_count, 11'999'232u);  // 5,999,616 frames x 2
  EXPECT_EQ(soundtrack_block.buffer_length, 47'996'928u);
  expect_block_covers_pcm();

  EXPECT_EQ(soundtrack_format.format_tag, 3);
  EXPECT_EQ(soundtrack_format.channels, 2);
  EXPECT_EQ(soundtrack_format.samples_per_sec, 44'100u);
  EXPECT_EQ(soundtrack_format.avg_bytes_per_sec, 352'800u);
  EXPECT_EQ(soundtrack_format.block_align, 8);
  EXPECT_EQ(soundtrack_format.bits_per_sample, 32);
  EXPECT_EQ(soundtrack_format.extra_size, 0);

  const float* begin = soundtrack_pcm;
  const float* end = soundtrack_pcm + soundtrack_sample_count;
  // The decoder does not clip, so a sample outside [-1, 1) would mean a wrong
  // scale or a song mastered too hot, which the output would clip.
  EXPECT_TRUE(std::all_of(begin, end, [](float s) { return s >= -1.0f && s < 1.0f; }));
  // Music in both halves, not a decode that gave up early.
  const float* middle = begin + soundtrack_sample_count / 2;
  const auto loud = [](float s) { return std::fabs(s) > 0.01f; };
  EXPECT_TRUE(std::any_of(begin, middle, loud));
  EXPECT_TRUE(std::any_of(middle, end, loud));
}

TEST_F(SoundtrackDecode, AMonoStreamGetsFramesOfOneFloat) {
  const auto stream = test_stream("mono_32k_untagged.mp3");
  ASSERT_TRUE(decode_soundtrack(stream.data(), stream.size()));
  EXPECT_EQ(soundtrack_format.channels, 1);
  EXPECT_EQ(soundtrack_format.samples_per_sec, 32'000u);
  EXPECT_EQ(soundtrack_format.block_align, 4);
  EXPECT_EQ(soundtrack_format.avg_bytes_per_sec, 128'000u);
  EXPECT_EQ(platform::block_frames(soundtrack_block, soundtrack_format), soundtrack_sample_count);
  expect_block_covers_pcm();
}

TEST_F(SoundtrackDecode, AnUnreadableStreamIsReportedAndLeavesAnEmptySilentSong) {
  const std::vector<unsigned char> junk(4096, 0x5a);
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(decode_soundtrack(junk.data(), junk.size()));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot be decoded"), std::string::npos) << said;
  EXPECT_EQ(soundtrack_sample_count, 0u);
  ASSERT_NE(soundtrack_pcm, nullptr);
  expect_block_covers_pcm();
  // Still a format a device can open, so the run goes on.
  EXPECT_EQ(soundtrack_format.channels, 2);
  EXPECT_EQ(soundtrack_format.samples_per_sec, 44'100u);
  EXPECT_EQ(soundtrack_format.block_align, 8);
}

TEST_F(SoundtrackDecode, AGoodStreamSaysNothing) {
  const auto stream = test_stream("stereo_44k_tagged.mp3");
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(decode_soundtrack(stream.data(), stream.size()));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(SoundtrackAllocation, IsZeroedAndRefusesLengthsTheBlockCannotHold) {
  float* pcm = allocate_soundtrack_pcm(100'000);
  ASSERT_NE(pcm, nullptr);
  EXPECT_TRUE(std::all_of(pcm, pcm + 100'000, [](float s) { return s == 0.0f; }));
  std::free(pcm);
  EXPECT_EQ(allocate_soundtrack_pcm(std::uint64_t{1} << 30), nullptr);
  // Low 32 bits of 2^32 + 8 would be a tiny, wrong allocation.
  EXPECT_EQ(allocate_soundtrack_pcm((std::uint64_t{1} << 32) + 8), nullptr);
}

}  // namespace
