#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::uint32_t kRate = 44'100;

platform::WaveFormat stereo_float() {
  platform::WaveFormat format;
  format.format_tag = platform::kWaveFormatIeeeFloat;
  format.channels = 2;
  format.samples_per_sec = kRate;
  format.block_align = 8;
  format.bits_per_sample = 32;
  return format;
}

double frames_in(Clock::duration d) { return std::chrono::duration<double>(d).count() * kRate; }

struct WallClockDevice : ::testing::Test {
  std::unique_ptr<platform::AudioDevice> device = platform::make_wall_clock_audio_device();
  platform::AudioPosition position;

  std::uint32_t query() {
    EXPECT_TRUE(device->position(position));
    return position.sample;
  }
  void start(platform::WaveBlock& block) {
    ASSERT_TRUE(device->open(stereo_float()));
    device->prepare(block);
    device->write(block);
  }
};

TEST_F(WallClockDevice, CountsRealTimeFromTheWrite) {
  std::vector<float> pcm(2 * kRate * 10);
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * 4)};
  ASSERT_TRUE(device->open(stereo_float()));
  device->prepare(block);
  EXPECT_EQ(query(), 0u);

  const auto before_write = Clock::now();
  device->write(block);
  const auto after_write = Clock::now();
  std::this_thread::sleep_for(150ms);
  const auto before_query = Clock::now();
  const std::uint32_t played = query();
  const auto after_query = Clock::now();

  // Bracketed by the times the write and the query could have happened at.
  EXPECT_GE(played + 1.0, frames_in(before_query - after_write));
  EXPECT_LE(played, frames_in(after_query - before_write) + 1.0);
}

TEST_F(WallClockDevice, NeverGoesBackAndStopsAtTheBlockEnd) {
  std::vector<float> pcm(2 * kRate / 20);  // 50 ms
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * 4)};
  start(block);
  std::uint32_t last = 0;
  const auto until = Clock::now() + 120ms;
  while (Clock::now() < until) {
    const std::uint32_t now = query();
    ASSERT_GE(now, last);
    last = now;
  }
  EXPECT_EQ(last, kRate / 20);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(query(), kRate / 20);
}

TEST_F(WallClockDevice, StopHoldsThePosition) {
  std::vector<float> pcm(2 * kRate * 10);
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * 4)};
  start(block);
  std::this_thread::sleep_for(30ms);
  device->stop();
  const std::uint32_t held = query();
  EXPECT_GT(held, 0u);
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(query(), held);
}

TEST_F(WallClockDevice, PauseHoldsTheCountAndASeekCountsOnFromThere) {
  std::vector<float> pcm(2 * kRate * 10);
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * 4)};
  start(block);
  std::this_thread::sleep_for(20ms);
  ASSERT_TRUE(device->pause(true));
  const std::uint32_t held = query();
  std::this_thread::sleep_for(40ms);
  EXPECT_EQ(query(), held);
  ASSERT_TRUE(device->seek(5 * kRate));
  EXPECT_EQ(query(), 5 * kRate);
  const auto before_resume = Clock::now();
  ASSERT_TRUE(device->pause(false));
  const auto after_resume = Clock::now();
  std::this_thread::sleep_for(100ms);
  const auto before_query = Clock::now();
  const std::uint32_t played = query() - 5 * kRate;
  const auto after_query = Clock::now();
  EXPECT_GE(played + 1.0, frames_in(before_query - after_resume));
  EXPECT_LE(played, frames_in(after_query - before_resume) + 1.0);
  device->stop();
  EXPECT_FALSE(device->seek(0));
  EXPECT_FALSE(device->pause(false));
}

}  // namespace
