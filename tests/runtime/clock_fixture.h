#pragma once
// The frame clock on a recording GPU device and a virtual audio device, with
// the compiled-in tracks installed.

#include <gtest/gtest.h>

#include <memory>

#include "platform/audio/virtual_audio_device.h"
#include "src/renderer.h"
#include "src/soundtrack.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "tests/runtime/recording_device.h"

class ClockFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    registry = start_sync_tracks();
    auto clock = std::make_unique<platform::VirtualAudioDevice>();
    device_clock = clock.get();
    playback.wave_out = std::move(clock);
    format = {3, 2, 44100, 352800, 8, 32, 0};
    block.buffer_length = 6000000u * 8u;  // the song's length, nothing behind it is read
    playback.wave_out->open(format);
    playback.wave_out->prepare(block);
    playback.wave_out->write(block);
  }
  void TearDown() override { registry_destroy(registry); }

  void start_at(uint32_t samples, uint32_t step = 0) {
    device_clock->set_position(samples);
    device_clock->set_step(step);
  }

  TrackRegistry* registry = nullptr;
  PlaybackState playback;
  platform::VirtualAudioDevice* device_clock = nullptr;
  platform::WaveFormat format;
  platform::WaveBlock block;
  RecordingDevice device;
};
