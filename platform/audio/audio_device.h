#pragma once
// The audio output the runtime plays its one block through. The device's
// count of played sample frames is the clock of the whole intro, so every
// implementation keeps one promise: after write(), position() reports the
// frames played since the write, starting at 0, never going back, and
// standing still at the block's frame count once the block has played.
// The block is played once; after it the device is silent.
#include <cstdint>
#include <memory>

namespace platform {

inline constexpr std::uint16_t kWaveFormatIeeeFloat = 3;

// Field for field what a wave-out device is told about the samples.
struct WaveFormat {
  std::uint16_t format_tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samples_per_sec = 0;
  std::uint32_t avg_bytes_per_sec = 0;
  std::uint16_t block_align = 0;  // bytes of one sample frame
  std::uint16_t bits_per_sample = 0;
  std::uint16_t extra_size = 0;

  bool operator==(const WaveFormat&) const = default;
};

// Field for field the header of one block of samples handed to the device.
// The memory behind `data` must stay valid and unchanged from prepare() until
// unprepare().
struct WaveBlock {
  void* data = nullptr;
  std::uint32_t buffer_length = 0;  // bytes
  std::uint32_t bytes_recorded = 0;
  std::uintptr_t user = 0;
  std::uint32_t flags = 0;
  std::uint32_t loops = 0;
  WaveBlock* next = nullptr;
  std::uintptr_t reserved = 0;
};

// Played sample frames (per channel). A failed query leaves it untouched.
struct AudioPosition {
  std::uint32_t sample = 0;
};

// Sample frames in a block of the given format; 0 for a format without frames.
inline std::uint32_t block_frames(const WaveBlock& block, const WaveFormat& format) {
  return format.block_align ? block.buffer_length / format.block_align : 0;
}

// What position() counts: the output's own played frames, or a stand-in
// that only keeps time, so a test can tell sound that played from a clock.
enum class AudioClock { Output, WallClock, Virtual };

// A device is made closed; open() binds it to a format. Every later call on
// a device that did not open does nothing, and position() answers false.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // False when no output can be opened for the format.
  virtual bool open(const WaveFormat& format) = 0;
  virtual void prepare(WaveBlock& block) = 0;
  // Starts playing the prepared block.
  virtual void write(WaveBlock& block) = 0;
  // Returns false, leaving `out` as it was, when the device cannot answer.
  virtual bool position(AudioPosition& out) = 0;
  // Silences the device for good; the position stays where it stopped.
  virtual void stop() = 0;
  // After this the device no longer reads the block's memory.
  virtual void unprepare(WaveBlock& block) = 0;
  virtual void close() = 0;
  virtual AudioClock clock() const { return AudioClock::Output; }

  // Transport for the author's player; the intro never calls these. Both
  // return false when this device cannot do it (or did not open, or was
  // stopped), leaving it as it was. Every device here can.
  // Holds the sound where it is (the position stands) or plays on from there.
  virtual bool pause(bool /*held*/) { return false; }
  // Moves the sound to `frames` (clamped to the block), before or after the
  // write, held or not; position() answers `frames` at once and goes on from
  // there, the one time it may go back.
  virtual bool seek(std::uint32_t /*frames*/) { return false; }
};

// The default output through SDL, float32 at the format's channels and rate.
std::unique_ptr<AudioDevice> make_sdl_audio_device();

// The platform's own output: SDL on Linux, winmm wave-out on Windows.
std::unique_ptr<AudioDevice> make_system_audio_device();

// Plays nothing; counts frames in real time from the write, as a clock for a
// machine without sound output. It always opens.
std::unique_ptr<AudioDevice> make_wall_clock_audio_device();

}  // namespace platform
