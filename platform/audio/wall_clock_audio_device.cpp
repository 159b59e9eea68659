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

  bool position(AudioPosition& out) override {
    if (!open_) return false;
    if (playing_) frozen_ = frames_since_write();
    out.sample = frozen_;
    return true;
  }

  void stop() override {
    if (playing_) frozen_ = frames_since_write();
    playing_ = false;
  }

  void unprepare(WaveBlock&) override {}

  void close() override {
    stop();
    open_ = false;
  }

 private:
  std::uint32_t frames_since_write() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start_);
    // Whole seconds and the rest apart, so a run of any length cannot overflow.
    const std::uint64_t ns = static_cast<std::uint64_t>(elapsed.count());
    const std::uint64_t rate = format_.samples_per_sec;
    const std::uint64_t frames =
        ns / 1'000'000'000u * rate + ns % 1'000'000'000u * rate / 1'000'000'000u;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(frames, frames_));
  }

  WaveFormat format_;
  bool open_ = false;
  bool playing_ = false;
  std::uint32_t frames_ = 0;
  std::uint32_t frozen_ = 0;
  Clock::time_point start_{};
};

}  // namespace

std::unique_ptr<AudioDevice> make_wall_clock_audio_device() {
  return std::make_unique<WallClockAudioDevice>();
}

}  // namespace platform
