#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>

#include "platform/audio/audio_device.h"
#include "platform/program_name.h"

namespace platform {

namespace {

// The block is handed to winmm as its own header, so the two layouts must be
// the same byte for byte; these stop the build where they are not.
static_assert(sizeof(WaveBlock) == sizeof(WAVEHDR));
static_assert(offsetof(WaveBlock, data) == offsetof(WAVEHDR, lpData));
static_assert(offsetof(WaveBlock, buffer_length) == offsetof(WAVEHDR, dwBufferLength));
static_assert(offsetof(WaveBlock, bytes_recorded) == offsetof(WAVEHDR, dwBytesRecorded));
static_assert(offsetof(WaveBlock, user) == offsetof(WAVEHDR, dwUser));
static_assert(offsetof(WaveBlock, flags) == offsetof(WAVEHDR, dwFlags));
static_assert(offsetof(WaveBlock, loops) == offsetof(WAVEHDR, dwLoops));
static_assert(offsetof(WaveBlock, next) == offsetof(WAVEHDR, lpNext));
static_assert(offsetof(WaveBlock, reserved) == offsetof(WAVEHDR, reserved));

WAVEHDR* header(WaveBlock& block) { return reinterpret_cast<WAVEHDR*>(&block); }

WAVEFORMATEX to_waveformatex(const WaveFormat& f) {
  WAVEFORMATEX wfx{};
  wfx.wFormatTag = f.format_tag;
  wfx.nChannels = f.channels;
  wfx.nSamplesPerSec = f.samples_per_sec;
  wfx.nAvgBytesPerSec = f.avg_bytes_per_sec;
  wfx.nBlockAlign = f.block_align;
  wfx.wBitsPerSample = f.bits_per_sample;
  wfx.cbSize = f.extra_size;
  return wfx;
}

// winmm keeps the address of the block's header from prepare() to
// unprepare(), so the WaveBlock itself must stay put as well as its samples.
// waveOutReset sets winmm's position back to 0, so the count is read once
// more before stopping and held from then on.
//
// A seek resets the device and queues a header of the device's own over the
// rest of the block, from the target on; winmm then counts from 0 again, so
// the position is the target plus winmm's count. A header is queued while
// the device is paused (waveOutPause first), so a seek while held stays
// silent until the sound is let go.
class WinmmAudioDevice final : public AudioDevice {
 public:
  ~WinmmAudioDevice() override { close(); }

  bool open(const WaveFormat& format) override;
  void prepare(WaveBlock& block) override;
  void write(WaveBlock& block) override;
  bool position(AudioPosition& out) override;
  void stop() override;
  void unprepare(WaveBlock& block) override;
  void close() override;
  bool pause(bool held) override;
  bool seek(std::uint32_t frames) override;
  AudioClock clock() const override { return wall_clock_ ? AudioClock::WallClock : AudioClock::Output; }

 private:
  bool query_device();
  void count_on_wall_clock(WaveBlock& block);
  bool counting() const { return playing_ && !held_; }
  bool queue_from(std::uint32_t frame);
  void release_tail();

  HWAVEOUT handle_ = nullptr;
  WaveFormat format_;
  WaveBlock* block_ = nullptr;  // the prepared block
  bool header_prepared_ = false;
  bool playing_ = false;
  bool held_ = false;
  bool stopped_ = false;  // for good: the block plays once
  std::uint32_t frames_ = 0;
  std::uint32_t reported_ = 0;
  std::uint32_t base_ = 0;  // the block's frame winmm's count starts from
  // The rest of the block from a seek's target, handed over in place of the
  // block's own header.
  WaveBlock tail_{};
  bool tail_prepared_ = false;
  // Stands in as the clock when winmm opened but refused the block, so the
  // intro still runs in real time instead of standing at its first frame.
  std::unique_ptr<AudioDevice> wall_clock_;
};

bool WinmmAudioDevice::open(const WaveFormat& format) {
  if (handle_ || format.block_align == 0) return false;
  const WAVEFORMATEX wfx = to_waveformatex(format);
  HWAVEOUT handle = nullptr;
  if (waveOutOpen(&handle, WAVE_MAPPER, &wfx, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  handle_ = handle;
  format_ = format;
  held_ = stopped_ = false;
  frames_ = reported_ = base_ = 0;
  return true;
}

void WinmmAudioDevice::prepare(WaveBlock& block) {
  if (!handle_ || block_) return;
  block_ = &block;
  frames_ = block_frames(block, format_);
  header_prepared_ = waveOutPrepareHeader(handle_, header(block), sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

void WinmmAudioDevice::write(WaveBlock& block) {
  if (!handle_ || &block != block_ || playing_ || stopped_ || wall_clock_) return;
  if (held_) waveOutPause(handle_);
  const bool queued = base_ == 0 ? header_prepared_ &&
                                       waveOutWrite(handle_, header(block), sizeof(WAVEHDR)) == MMSYSERR_NOERROR
                                 : queue_from(base_);
  if (queued) {
    playing_ = true;
    return;
  }
  count_on_wall_clock(block);
}

// Hands winmm the block from `frame` on; true when there is nothing left to
// play (the count stands at the end) or winmm took it.
bool WinmmAudioDevice::queue_from(std::uint32_t frame) {
  release_tail();
  base_ = frame;
  if (frame >= frames_) return true;
  tail_ = {};
  tail_.data = static_cast<unsigned char*>(block_->data) + std::size_t{frame} * format_.block_align;
  tail_.buffer_length = (frames_ - frame) * format_.block_align;
  if (waveOutPrepareHeader(handle_, header(tail_), sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
  tail_prepared_ = true;
  return waveOutWrite(handle_, header(tail_), sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

// Only once winmm gave the header back (after a reset) may it be unprepared.
void WinmmAudioDevice::release_tail() {
  if (tail_prepared_) waveOutUnprepareHeader(handle_, header(tail_), sizeof(WAVEHDR));
  tail_prepared_ = false;
}

void WinmmAudioDevice::count_on_wall_clock(WaveBlock& block) {
  std::fprintf(stderr, "%s: the sound device refused the soundtrack; running silently on the wall clock\n",
               platform::program_name());
  wall_clock_ = make_wall_clock_audio_device();
  wall_clock_->open(format_);
  wall_clock_->prepare(block);
  wall_clock_->write(block);
  // It takes over where the player had put the sound.
  if (held_) wall_clock_->pause(true);
  if (base_) wall_clock_->seek(base_);
}

// Folds the device's count into the reported one: never back, never past the
// block. False when winmm cannot answer in sample frames.
bool WinmmAudioDevice::query_device() {
  MMTIME time{};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(handle_, &time, sizeof(MMTIME)) != MMSYSERR_NOERROR) return false;
  if (time.wType != TIME_SAMPLES) return false;
  const std::uint64_t played = std::uint64_t{base_} + time.u.sample;
  reported_ = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(played, reported_, frames_));
  return true;
}

bool WinmmAudioDevice::position(AudioPosition& out) {
  if (!handle_) return false;
  if (wall_clock_) return wall_clock_->position(out);
  if (counting() && !query_device()) return false;
  out.sample = reported_;
  return true;
}

void WinmmAudioDevice::stop() {
  if (!handle_) return;
  if (wall_clock_) wall_clock_->stop();
  if (counting()) query_device();
  playing_ = false;
  stopped_ = true;
  waveOutReset(handle_);
  release_tail();
}

// The count is read before holding, so it stands where the sound stopped
// rather than where winmm's reading of a paused device lands.
bool WinmmAudioDevice::pause(bool held) {
  if (!handle_ || stopped_) return false;
  if (wall_clock_) return wall_clock_->pause(held);
  if (held == held_) return true;
  if (held && playing_) {
    query_device();
    if (waveOutPause(handle_) != MMSYSERR_NOERROR) return false;
  }
  if (!held && playing_ && waveOutRestart(handle_) != MMSYSERR_NOERROR) return false;
  held_ = held;
  return true;
}

// Before the write only the starting frame is noted; write() queues from it.
bool WinmmAudioDevice::seek(std::uint32_t frames) {
  if (!handle_ || stopped_ || !block_) return false;
  if (wall_clock_) return wall_clock_->seek(frames);
  const std::uint32_t target = std::min(frames, frames_);
  if (playing_) {
    waveOutReset(handle_);
    if (held_) waveOutPause(handle_);
    if (!queue_from(target)) {
      // winmm took the block once and refuses the rest: the wall clock
      // carries on from the target, as when the first write was refused.
      playing_ = false;
      base_ = target;
      count_on_wall_clock(*block_);
      return true;
    }
  }
  base_ = reported_ = target;
  return true;
}

void WinmmAudioDevice::unprepare(WaveBlock& block) {
  if (!handle_ || &block != block_) return;
  // A header still queued would be read after its memory is freed.
  if (playing_) stop();
  if (header_prepared_) waveOutUnprepareHeader(handle_, header(block), sizeof(WAVEHDR));
  header_prepared_ = false;
  release_tail();
  block_ = nullptr;
}

void WinmmAudioDevice::close() {
  if (!handle_) return;
  // winmm refuses to close over a queued block.
  stop();
  if (block_) unprepare(*block_);
  waveOutClose(handle_);
  handle_ = nullptr;
  wall_clock_.reset();
}

}  // namespace

std::unique_ptr<AudioDevice> make_system_audio_device() { return std::make_unique<WinmmAudioDevice>(); }

}  // namespace platform
