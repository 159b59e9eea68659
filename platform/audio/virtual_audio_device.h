#pragma once
// A device that plays nothing and reports whatever position its owner sets:
// the clock for offline rendering and for tests. Optionally the position
// moves on by a fixed step after every query, the way a playing device
// drifts between the many queries of one frame; a held device does not step.
#include <cstdint>

#include "platform/audio/audio_device.h"

namespace platform {

class VirtualAudioDevice final : public AudioDevice {
 public:
  // The owner's clock; it may go backwards. Reported only once a block is
  // written, and never beyond the block's frame count.
  void set_position(std::uint32_t frames) { position_ = frames; }
  void set_step(std::uint32_t frames_per_query) { step_ = frames_per_query; }

  bool is_playing() const { return playing_; }
  const WaveFormat& format() const { return format_; }
  const WaveBlock* block() const { return block_; }

  bool open(const WaveFormat& format) override;
  void prepare(WaveBlock& block) override;
  void write(WaveBlock& block) override;
  bool position(AudioPosition& out) override;
  AudioClock clock() const override { return AudioClock::Virtual; }
  void stop() override;
  void unprepare(WaveBlock& block) override;
  void close() override;
  bool pause(bool held) override;
  bool seek(std::uint32_t frames) override;

 private:
  bool stopped() const { return written_ && !playing_; }

  WaveFormat format_;
  const WaveBlock* block_ = nullptr;
  std::uint32_t frames_ = 0;
  std::uint32_t position_ = 0;
  std::uint32_t step_ = 0;
  bool open_ = false;
  bool written_ = false;
  bool playing_ = false;
  bool held_ = false;
};

}  // namespace platform
