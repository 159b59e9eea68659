#include "platform/audio/virtual_audio_device.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

platform::WaveFormat float_format(std::uint16_t channels) {
  platform::WaveFormat format;
  format.format_tag = platform::kWaveFormatIeeeFloat;
  format.channels = channels;
  format.samples_per_sec = 44'100;
  format.block_align = static_cast<std::uint16_t>(channels * 4);
  format.bits_per_sample = 32;
  return format;
}

struct VirtualDevice : ::testing::Test {
  std::vector<float> pcm = std::vector<float>(2 * 1000);
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * 4)};
  platform::VirtualAudioDevice device;
  platform::AudioPosition position;

  void start() {
    ASSERT_TRUE(device.open(float_format(2)));
    device.prepare(block);
    device.write(block);
  }
  std::uint32_t query() {
    EXPECT_TRUE(device.position(position));
    return position.sample;
  }
};

TEST_F(VirtualDevice, ReportsNothingPlayedUntilTheBlockIsWritten) {
  ASSERT_TRUE(device.open(float_format(2)));
  device.set_position(250);
  device.prepare(block);
  EXPECT_EQ(query(), 0u);
  device.write(block);
  EXPECT_EQ(query(), 250u);
}

TEST_F(VirtualDevice, AClosedDeviceLeavesTheRecordAlone) {
  position.sample = 77;
  EXPECT_FALSE(device.position(position));
  EXPECT_EQ(position.sample, 77u);
  start();
  device.close();
  EXPECT_FALSE(device.position(position));
}

TEST_F(VirtualDevice, FollowsTheOwnersClockUpToTheBlockEnd) {
  start();
  device.set_position(999);
  EXPECT_EQ(query(), 999u);
  device.set_position(5000);
  EXPECT_EQ(query(), 1000u);
  device.set_position(10);  // capture may jump back to render another time
  EXPECT_EQ(query(), 10u);
}

TEST_F(VirtualDevice, StepsAfterEveryQueryAndStopsExactlyAtTheEnd) {
  start();
  device.set_step(300);
  std::vector<std::uint32_t> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(query());
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 300, 600, 900, 1000, 1000}));
}

TEST_F(VirtualDevice, StopHoldsThePosition) {
  start();
  device.set_step(100);
  query();
  query();
  device.stop();
  EXPECT_EQ(query(), 200u);
  EXPECT_EQ(query(), 200u);
}

TEST_F(VirtualDevice, CountsFramesOfAMonoBlock) {
  ASSERT_TRUE(device.open(float_format(1)));
  device.prepare(block);  // 2000 mono frames
  device.write(block);
  device.set_position(1 << 20);
  EXPECT_EQ(query(), 2000u);
}

TEST_F(VirtualDevice, AHeldDeviceDoesNotStepAndASeekMovesItWithinTheBlock) {
  start();
  device.set_step(10);
  EXPECT_EQ(query(), 0u);
  ASSERT_TRUE(device.pause(true));
  EXPECT_EQ(query(), 10u);
  EXPECT_EQ(query(), 10u);
  ASSERT_TRUE(device.seek(600));
  EXPECT_EQ(query(), 600u);
  ASSERT_TRUE(device.seek(5000));
  EXPECT_EQ(query(), 1000u);
  ASSERT_TRUE(device.pause(false));
  ASSERT_TRUE(device.seek(20));
  EXPECT_EQ(query(), 20u);
  EXPECT_EQ(query(), 30u);
  device.stop();
  EXPECT_FALSE(device.seek(0));
  EXPECT_FALSE(device.pause(false));
}

}  // namespace
