#include <algorithm>
#include <chrono>

#include "platform/audio/audio_device.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

class WallClockAudioDevice final : public AudioDevice {
 public:
  bool open(const WaveFormat& format) override {
    format_ = format;
    open_ = true;
    held_ = stopped_ = false;
    return true;
  }

  void prepare(WaveBlock& block) override {
    if (open_) frames_ = block_frames(block, format_);
  }

  void write(WaveBlock&) override {
    if (!open_) return;
    start_ = Clock::now();
    playing_ = true;
  }

  AudioClock clock() const override { return AudioClock::WallClock; }
  bool position(AudioPosition& out) override {
    if (!open_) return false;
    if (counting()) frozen_ = frames_now();
    out.sample = frozen_;
    return true;
  }

  void stop() override {
    if (counting()) frozen_ = frames_now();
    playing_ = false;
    stopped_ = true;
  }

  void unprepare(WaveBlock&) override {}

  void close() override {
    stop();
    open_ = false;
  }

  bool pause(bool held) override {
    if (!open_ || stopped_) return false;
    if (held && counting()) frozen_ = frames_now();
    if (!held && held_) restart_from(frozen_);
    held_ = held;
    return true;
  }

  bool seek(std::uint32_t frames) override {
    if (!open_ || stopped_) return false;
    restart_from(std::min(frames, frames_));
    return true;
  }

 private:
  bool counting() const { return playing_ && !held_; }

  void restart_from(std::uint32_t frame) {
    frozen_ = base_ = frame;
    start_ = Clock::now();
  }

  std::uint32_t frames_now() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start_);
    // Whole seconds and the rest apart, so a run of any length cannot overflow.
    const std::uint64_t ns = static_cast<std::uint64_t>(elapsed.count());
    const std::uint64_t rate = format_.samples_per_sec;
    const std::uint64_t frames = base_ + ns / 1'000'000'000u * rate + ns % 1'000'000'000u * rate / 1'000'000'000u;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(frames, frames_));
  }

  WaveFormat format_;
  bool open_ = false;
  bool playing_ = false;
  bool held_ = false;
  bool stopped_ = false;
  std::uint32_t frames_ = 0;
  std::uint32_t frozen_ = 0;
  std::uint32_t base_ = 0;  // the frame counting starts from at start_
  Clock::time_point start_{};
};

}  // namespace

std::unique_ptr<AudioDevice> make_wall_clock_audio_device() { return std::make_unique<WallClockAudioDevice>(); }

}  // namespace platform
