#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/audio/virtual_audio_device.h"
#include "src/soundtrack.h"
#include "sync/choreography.h"
#include "sync/device.h"

namespace {

using namespace std::chrono_literals;

struct Playback : ::testing::Test {
  PlaybackState state;
  void TearDown() override { playback_shutdown(state); }
};

platform::VirtualAudioDevice* place_virtual_device(PlaybackState& state) {
  auto device = std::make_unique<platform::VirtualAudioDevice>();
  platform::VirtualAudioDevice* raw = device.get();
  state.wave_out = std::move(device);
  return raw;
}

TEST_F(Playback, StartFillsTheTrackTableWithTheCompiledKeys) {
  place_virtual_device(state);
  playback_start(state);
  ASSERT_NE(state.registry, nullptr);
  EXPECT_EQ(state.registry->track_count, kSyncTrackCount);
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const Track* track = track_table[i];
    ASSERT_NE(track, nullptr) << i;
    EXPECT_STREQ(track->name, track_names[i]);
    EXPECT_EQ(find_track(state.registry, track_names[i]), i);
    const CompiledTrack& compiled = compiled_tracks[i];
    ASSERT_EQ(track->key_count, compiled.key_count) << track_names[i];
    for (int k = 0; k < track->key_count; ++k) {
      EXPECT_EQ(track->keys[k].row, compiled.rows[k]);
      EXPECT_EQ(track->keys[k].value, compiled.values[k]);
      EXPECT_EQ(static_cast<int>(track->keys[k].interpolation), compiled.codes[k]);
    }
  }
}

TEST_F(Playback, StartPlaysTheWholeSongOnTheCallersDevice) {
  platform::VirtualAudioDevice* device = place_virtual_device(state);
  playback_start(state);
  EXPECT_EQ(state.wave_out.get(), device);
  EXPECT_TRUE(device->is_playing());
  EXPECT_EQ(device->block(), &soundtrack_block);
  EXPECT_TRUE(device->format() == soundtrack_format);
  EXPECT_EQ(playback_position(state), 0u);
  device->set_position(44'100);
  EXPECT_EQ(playback_position(state), 44'100u);
  device->set_position(0xffffffffu);
  EXPECT_EQ(playback_position(state), soundtrack_sample_count / 2);
}

TEST_F(Playback, ShutdownReleasesDevicePcmAndRegistry) {
  platform::VirtualAudioDevice* device = place_virtual_device(state);
  playback_start(state);
  device->set_step(10);
  playback_shutdown(state);
  EXPECT_FALSE(state.wave_out);
  EXPECT_EQ(soundtrack_pcm, nullptr);
  EXPECT_EQ(state.registry, nullptr);
  for (const Track* track : track_table) EXPECT_EQ(track, nullptr);
}

TEST_F(Playback, WithoutAnAudioDeviceTheWallClockRunsTheShow) {
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  ::testing::internal::CaptureStderr();
  playback_start(state);
  const std::string said = ::testing::internal::GetCapturedStderr();
  unsetenv("SDL_AUDIODRIVER");
  const std::string notice = "no audio device";
  const auto first = said.find(notice);
  ASSERT_NE(first, std::string::npos) << said;
  EXPECT_EQ(said.find(notice, first + 1), std::string::npos) << said;

  const std::uint32_t start = playback_position(state);
  std::this_thread::sleep_for(100ms);
  const std::uint32_t later = playback_position(state);
  EXPECT_GE(later - start, 44'100u / 10);
  EXPECT_LT(later, 44'100u * 5);  // counted from the write, not from some epoch
}

}  // namespace
