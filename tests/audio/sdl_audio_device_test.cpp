// Runs SDL without a sound server: the dummy driver paces itself in real time
// and discards the samples, the disk driver paces the same way and writes
// them to a file, which shows what the device actually played.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::uint32_t kRate = 44'100;
// One SDL buffer (1024 frames, 23 ms) of lead plus thread scheduling slack.
constexpr double kToleranceSeconds = 0.05;
// The count may run behind real time by more: on a loaded machine the audio
// thread wakes late and SDL's dummy driver does not catch up, so it plays
// slower than real time. Ahead of real time it never may.
constexpr double kLagSeconds = 0.2;

// Played seconds against the real time since playback started.
void expect_real_time(double played, double elapsed) {
  EXPECT_LE(played, elapsed + kToleranceSeconds) << "ahead of real time after " << elapsed << " s";
  EXPECT_GE(played, elapsed - kLagSeconds) << "behind real time after " << elapsed << " s";
}

platform::WaveFormat stereo_float() {
  platform::WaveFormat format;
  format.format_tag = platform::kWaveFormatIeeeFloat;
  format.channels = 2;
  format.samples_per_sec = kRate;
  format.block_align = 8;
  format.bits_per_sample = 32;
  return format;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct SdlDevice : ::testing::Test {
  std::vector<float> pcm;
  platform::WaveBlock block;
  std::unique_ptr<platform::AudioDevice> device = platform::make_sdl_audio_device();
  platform::AudioPosition position;

  void use_driver(const char* name) { setenv("SDL_AUDIODRIVER", name, 1); }
  void make_block(double length_seconds) {
    pcm.resize(2 * static_cast<std::size_t>(length_seconds * kRate));
    // No zero in the block, so silence around it can be told apart.
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<float>(i % 1000 + 1) / 1000.0f;
    block = {pcm.data(), static_cast<std::uint32_t>(pcm.size() * sizeof(float))};
  }
  std::uint32_t query() {
    EXPECT_TRUE(device->position(position));
    return position.sample;
  }
  // Polls until the given time has passed or the count reaches `target`,
  // checking that it never drops.
  std::uint32_t poll_for(Clock::duration span, std::uint32_t target = UINT32_MAX) {
    std::uint32_t last = query();
    for (const auto until = Clock::now() + span; Clock::now() < until && last < target;) {
      std::this_thread::sleep_for(1ms);
      const std::uint32_t now = query();
      EXPECT_GE(now, last);
      last = now;
    }
    return last;
  }
  // Waits until the count moves past `from`: the device has started playing,
  // however long its thread took to come up on a loaded machine. Real-time
  // checks measure from that moment.
  struct Moment {
    std::uint32_t sample;
    Clock::time_point time;
  };
  Moment started_from(std::uint32_t from) {
    for (const auto until = Clock::now() + 5s; Clock::now() < until;) {
      const std::uint32_t now = query();
      if (now > from) return {now, Clock::now()};
      std::this_thread::sleep_for(1ms);
    }
    ADD_FAILURE() << "the count never moved past " << from;
    return {from, Clock::now()};
  }
};

TEST_F(SdlDevice, CountsPlayedFramesInRealTime) {
  use_driver("dummy");
  make_block(3.0);
  ASSERT_TRUE(device->open(stereo_float()));
  device->prepare(block);
  EXPECT_EQ(query(), 0u);
  device->write(block);
  const Moment start = started_from(0);
  // Long enough for a count at half speed to fall behind by more than the lag.
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t played = poll_for(100ms) - start.sample;
    const double expected = seconds(Clock::now() - start.time);
    expect_real_time(played / double(kRate), expected);
  }
}

TEST_F(SdlDevice, StopsExactlyAtTheBlockEndAndStopHolds) {
  use_driver("dummy");
  make_block(0.1);
  ASSERT_TRUE(device->open(stereo_float()));
  device->prepare(block);
  device->write(block);
  EXPECT_EQ(poll_for(5s, kRate / 10), kRate / 10);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(query(), kRate / 10);
  device->stop();
  device->unprepare(block);
  EXPECT_EQ(query(), kRate / 10);
}

TEST_F(SdlDevice, PlaysTheBlockOnceThenSilence) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("velmorand_sdl_disk_" + std::to_string(::getpid()) + ".raw");
  struct RemoveAtEnd {
    std::filesystem::path path;
    ~RemoveAtEnd() { std::filesystem::remove(path); }
  } cleanup{file};
  use_driver("disk");
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  make_block(0.1);
  ASSERT_TRUE(device->open(stereo_float()));
  device->prepare(block);
  device->write(block);
  ASSERT_EQ(poll_for(5s, kRate / 10), kRate / 10);
  std::this_thread::sleep_for(100ms);  // room for silence after the block
  device->stop();
  device->unprepare(block);
  device->close();

  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<float> played(bytes.size() / sizeof(float));
  std::memcpy(played.data(), bytes.data(), played.size() * sizeof(float));
  // SDL writes silence while the device waits for the write.
  const auto silent = [](float s) { return s == 0.0f; };
  const auto start = std::find_if_not(played.begin(), played.end(), silent);
  ASSERT_GT(played.end() - start, static_cast<std::ptrdiff_t>(pcm.size()));
  EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), start));
  EXPECT_TRUE(std::all_of(start + pcm.size(), played.end(), silent));
}

TEST_F(SdlDevice, FailsToOpenWithoutADriver) {
  use_driver("no_such_driver");
  make_block(0.1);
  EXPECT_FALSE(device->open(stereo_float()));
  position.sample = 5;
  EXPECT_FALSE(device->position(position));
  EXPECT_EQ(position.sample, 5u);
}

TEST_F(SdlDevice, PauseHoldsTheCountAndASeekPlaysOnFromThere) {
  use_driver("dummy");
  make_block(3.0);
  ASSERT_TRUE(device->open(stereo_float()));
  device->prepare(block);
  device->write(block);
  poll_for(100ms);
  ASSERT_TRUE(device->pause(true));
  const std::uint32_t held = query();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(query(), held);
  ASSERT_TRUE(device->seek(2 * kRate));
  EXPECT_EQ(query(), 2 * kRate);
  ASSERT_TRUE(device->pause(false));
  const Moment resumed = started_from(2 * kRate);
  const std::uint32_t played = poll_for(200ms) - resumed.sample;
  expect_real_time(played / double(kRate), seconds(Clock::now() - resumed.time));
  ASSERT_TRUE(device->seek(kRate / 2));
  EXPECT_NEAR(query() / double(kRate), 0.5, kToleranceSeconds) << "back, while playing";
}

}  // namespace
