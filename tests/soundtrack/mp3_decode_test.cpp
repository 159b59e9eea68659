#include "src/mp3_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "stream_files.h"

namespace {

constexpr std::size_t kSamplesPerFrame = 1152;
constexpr std::size_t kFrameBytesAt32k64kbps = 288;

std::vector<float> decode_all(Mp3Decoder& decoder) {
  std::vector<float> pcm(decoder.total_samples());
  EXPECT_EQ(decoder.read(pcm.data(), pcm.size()), pcm.size());
  return pcm;
}

TEST(Mp3Decode, AnUntaggedStreamYieldsEveryFrameWhole) {
  const auto stream = test_stream("mono_32k_untagged.mp3");
  ASSERT_EQ(stream.size() % kFrameBytesAt32k64kbps, 0u);
  Mp3Decoder decoder(stream.data(), stream.size());
  ASSERT_TRUE(decoder.is_open());
  EXPECT_EQ(decoder.channels(), 1);
  EXPECT_EQ(decoder.rate(), 32'000);
  EXPECT_EQ(decoder.total_samples(), stream.size() / kFrameBytesAt32k64kbps * kSamplesPerFrame);
  decode_all(decoder);
}

TEST(Mp3Decode, SamplesAreOnTheUnitScale) {
  // A half-scale sine: its peak must come out near 0.5 and its RMS near
  // 0.5 / sqrt(2), not on a 16-bit scale and not clipped.
  const auto stream = test_stream("mono_32k_untagged.mp3");
  Mp3Decoder decoder(stream.data(), stream.size());
  const std::vector<float> pcm = decode_all(decoder);
  const auto middle = pcm.begin() + 4 * kSamplesPerFrame;
  const auto end = pcm.end() - 4 * kSamplesPerFrame;
  float peak = 0.0f;
  double energy = 0.0;
  for (auto it = middle; it != end; ++it) {
    peak = std::max(peak, std::fabs(*it));
    energy += double(*it) * *it;
  }
  EXPECT_NEAR(peak, 0.5, 0.05);
  EXPECT_NEAR(std::sqrt(energy / double(end - middle)), 0.5 / std::sqrt(2.0), 0.02);
}

TEST(Mp3Decode, AnEncoderTagTrimsToTheEncodedLength) {
  const auto stream = test_stream("stereo_44k_tagged.mp3");
  Mp3Decoder decoder(stream.data(), stream.size());
  ASSERT_TRUE(decoder.is_open());
  EXPECT_EQ(decoder.channels(), 2);
  EXPECT_EQ(decoder.rate(), 44'100);
  EXPECT_EQ(decoder.total_samples(), 22'050u * 2);  // half a second, as encoded
  decode_all(decoder);
}

TEST(Mp3Decode, ReadingStopsAtTheEndOfTheStream) {
  const auto stream = test_stream("mono_32k_untagged.mp3");
  Mp3Decoder decoder(stream.data(), stream.size());
  const std::size_t total = decoder.total_samples();
  std::vector<float> pcm(total + 500, 7.0f);
  EXPECT_EQ(decoder.read(pcm.data(), pcm.size()), total);
  EXPECT_TRUE(std::all_of(pcm.begin() + total, pcm.end(), [](float s) { return s == 7.0f; }));
  EXPECT_EQ(decoder.read(pcm.data(), pcm.size()), 0u);
}

TEST(Mp3Decode, BytesWithoutAStreamDoNotOpen) {
  const std::vector<unsigned char> text(5000, 'x');
  const std::vector<unsigned char> nothing;
  for (const auto* bytes : {&text, &nothing}) {
    Mp3Decoder decoder(bytes->data(), bytes->size());
    EXPECT_FALSE(decoder.is_open());
    EXPECT_EQ(decoder.total_samples(), 0u);
    float sample = 3.0f;
    EXPECT_EQ(decoder.read(&sample, 1), 0u);
    EXPECT_EQ(sample, 3.0f);
  }
}

TEST(Mp3Decode, AStreamCutInsideAFrameDecodesItsWholeFrames) {
  const auto stream = test_stream("mono_32k_untagged.mp3");
  const std::size_t cut = 10 * kFrameBytesAt32k64kbps + 100;
  Mp3Decoder decoder(stream.data(), cut);
  ASSERT_TRUE(decoder.is_open());
  EXPECT_EQ(decoder.total_samples(), 10 * kSamplesPerFrame);
  decode_all(decoder);
}

TEST(Mp3Decode, JunkBetweenFramesIsSkippedAndEveryFrameDecodes) {
  auto stream = test_stream("mono_32k_untagged.mp3");
  const std::size_t frames = stream.size() / kFrameBytesAt32k64kbps;
  // More junk than the decoding library searches through by default.
  stream.insert(stream.begin() + 10 * kFrameBytesAt32k64kbps, 1100, 'x');
  Mp3Decoder decoder(stream.data(), stream.size());
  ASSERT_TRUE(decoder.is_open());
  EXPECT_EQ(decoder.total_samples(), frames * kSamplesPerFrame);
  decode_all(decoder);
}

}  // namespace
