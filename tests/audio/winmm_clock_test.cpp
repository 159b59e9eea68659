// The soundtrack played through winmm wave-out (under Wine: into a PulseAudio
// null sink, which consumes samples in real time), checked as the clock the
// intro runs on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"
#include "src/asset_catalog.h"
#include "src/soundtrack.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Reading {
  Clock::time_point at;
  std::uint32_t frames;
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct WinmmClock : ::testing::Test {
  std::unique_ptr<platform::AudioDevice> device = platform::make_system_audio_device();
  platform::AudioPosition position;

  void TearDown() override {
    device->close();
    release_soundtrack_pcm();
  }
  std::uint32_t query() {
    EXPECT_TRUE(device->position(position));
    return position.sample;
  }
  std::vector<Reading> readings_for(Clock::duration span) {
    std::vector<Reading> out;
    for (const auto until = Clock::now() + span; Clock::now() < until;) {
      const std::uint32_t frames = query();
      out.push_back({Clock::now(), frames});
      std::this_thread::sleep_for(2ms);
    }
    return out;
  }
};

// From the first reading that moved to the last change, so the time the
// output takes to start and the steps between updates do not count.
double frames_per_second(const std::vector<Reading>& readings) {
  std::size_t first = 1;
  while (first < readings.size() && readings[first].frames == readings[0].frames) ++first;
  std::size_t last = readings.size() - 1;
  while (last > first && readings[last - 1].frames == readings[last].frames) --last;
  if (last <= first) return 0.0;
  return (readings[last].frames - readings[first].frames) / seconds(readings[last].at - readings[first].at);
}

TEST_F(WinmmClock, SoundtrackPositionAdvancesInRealTimeNeverBackAndHoldsAfterStop) {
  const AssetBytes stream = soundtrack_asset();
  ASSERT_TRUE(decode_soundtrack(stream.data, stream.size));
  ASSERT_TRUE(device->open(soundtrack_format));
  device->prepare(soundtrack_block);
  EXPECT_EQ(query(), 0u);
  device->write(soundtrack_block);
  // A refused block falls back to a wall clock, which passes every check below.
  ASSERT_EQ(device->clock(), platform::AudioClock::Output) << "winmm refused the soundtrack";

  const std::vector<Reading> readings = readings_for(3s);
  for (std::size_t i = 1; i < readings.size(); ++i)
    ASSERT_GE(readings[i].frames, readings[i - 1].frames) << "reading " << i;
  EXPECT_NEAR(frames_per_second(readings), soundtrack_format.samples_per_sec,
              0.02 * soundtrack_format.samples_per_sec);

  device->stop();
  const std::uint32_t stopped_at = query();
  EXPECT_GE(stopped_at, readings.back().frames);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(query(), stopped_at);
  device->unprepare(soundtrack_block);
  EXPECT_EQ(query(), stopped_at);
}

// The player's transport: a held device stands, a seek answers its target at
// once and the sound plays on from there in real time, also backwards while
// playing and to the very end, where the count stands.
TEST_F(WinmmClock, PauseHoldsTheCountAndASeekPlaysOnFromItsTarget) {
  const AssetBytes stream = soundtrack_asset();
  ASSERT_TRUE(decode_soundtrack(stream.data, stream.size));
  const std::uint32_t rate = soundtrack_format.samples_per_sec;
  const std::uint32_t end = platform::block_frames(soundtrack_block, soundtrack_format);
  ASSERT_TRUE(device->open(soundtrack_format));
  device->prepare(soundtrack_block);
  ASSERT_TRUE(device->seek(10 * rate)) << "before the write";
  EXPECT_EQ(query(), 10 * rate);
  device->write(soundtrack_block);
  EXPECT_NEAR(frames_per_second(readings_for(1s)), rate, 0.05 * rate);
  EXPECT_GT(query(), 10 * rate);

  ASSERT_TRUE(device->pause(true));
  const std::uint32_t held = query();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(query(), held);
  ASSERT_TRUE(device->seek(60 * rate));
  EXPECT_EQ(query(), 60 * rate);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(query(), 60 * rate) << "a seek while held stays held";

  ASSERT_TRUE(device->pause(false));
  const std::vector<Reading> played = readings_for(1s);
  EXPECT_NEAR(frames_per_second(played), rate, 0.05 * rate);
  EXPECT_GE(played.front().frames, 60 * rate);
  EXPECT_LT(played.back().frames, 62 * rate);

  ASSERT_TRUE(device->seek(5 * rate));
  const std::uint32_t back = query();
  EXPECT_GE(back, 5 * rate);
  // Wine counts its first 100 ms period as played the moment a header is
  // written, after a seek as after the first write.
  EXPECT_LT(back, 5 * rate + rate / 5) << "back, while playing";
  ASSERT_TRUE(device->seek(end + rate));
  EXPECT_EQ(query(), end);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(query(), end);

  device->stop();
  EXPECT_FALSE(device->pause(false)) << "stopped for good";
  EXPECT_FALSE(device->seek(0));
  EXPECT_EQ(query(), end);
}

// The caller falls back to a wall clock on a failed open; every call on the
// device must then stay harmless and the position must not claim an answer.
TEST_F(WinmmClock, DeviceThatDidNotOpenAnswersNothing) {
  std::vector<float> pcm(2 * 4410);
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * sizeof(float))};
  position.sample = 7;
  EXPECT_FALSE(device->position(position));

  platform::WaveFormat unknown{.format_tag = 0x7F7F,
                               .channels = 2,
                               .samples_per_sec = 44'100,
                               .avg_bytes_per_sec = 352'800,
                               .block_align = 8,
                               .bits_per_sample = 32};
  ASSERT_FALSE(device->open(unknown));
  device->prepare(block);
  device->write(block);
  EXPECT_FALSE(device->position(position));
  device->stop();
  device->unprepare(block);
  EXPECT_FALSE(device->position(position));
  EXPECT_EQ(position.sample, 7u);
}

}  // namespace
