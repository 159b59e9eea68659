#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "platform/audio/audio_device.h"
#include "platform/audio/server_latency_probe.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
// The server's latest answers, in microseconds held: few enough to follow a
// stream's start, when it holds more and drains to its steady latency.
using Answers = std::array<std::uint64_t, 5>;

// SDL pulls the samples from its own thread; the block is read in place, so
// nothing but the block's memory is needed while it plays.
//
// The position is the sample the listener hears. Where SDL plays through a
// sound server (PulseAudio, or PipeWire's PulseAudio service), the server
// holds what SDL hands it for a while, its buffer and the sink's latency; the
// server is asked how long, all the time (SDL plays silence through the same
// stream before the block, so the answer is there when the block starts), and
// the position is held back by the median of its latest answers. Elsewhere a
// handed chunk counts as playing from the moment SDL takes it.
class SdlAudioDevice final : public AudioDevice {
 public:
  ~SdlAudioDevice() override { close(); }

  bool open(const WaveFormat& format) override;
  void prepare(WaveBlock& block) override;
  void write(WaveBlock& block) override;
  bool position(AudioPosition& out) override;
  void stop() override;
  void unprepare(WaveBlock& block) override;
  void close() override;
  bool pause(bool held) override;
  bool seek(std::uint32_t frames) override;

 private:
  static void fill(void* self, Uint8* stream, int len);
  void fill(Uint8* stream, std::uint32_t len);
  std::uint32_t played_frames() const;
  std::uint32_t server_latency_frames() const;
  void on_server_answer(std::uint64_t held_us);
  bool counting() const { return playing_ && !held_; }
  void hand_over_from(std::uint32_t frame);

  WaveFormat format_;
  SDL_AudioDeviceID device_ = 0;
  std::uint32_t frames_ = 0;
  std::uint32_t reported_ = 0;
  bool playing_ = false;
  bool held_ = false;
  bool stopped_ = false;

  // Shared with SDL's thread, which holds the device lock while it fills.
  const unsigned char* data_ = nullptr;
  std::uint32_t length_ = 0;
  std::uint32_t handed_ = 0;      // bytes of the block handed to SDL
  std::uint64_t taken_ = 0;       // bytes SDL took since the write: the block, then silence
  std::uint32_t last_chunk_ = 0;  // bytes in the latest fill
  Clock::time_point last_fill_{};

  // Shared with the probe's thread.
  std::unique_ptr<ServerLatencyProbe> server_;
  mutable std::mutex answers_lock_;
  std::condition_variable first_answer_;
  Answers answers_{};
  std::size_t answer_count_ = 0;
};

// A server answers in milliseconds; one that does not leaves the count as if
// it held nothing.
constexpr auto kFirstAnswerWait = std::chrono::milliseconds(250);

bool plays_through_server() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver && (std::strcmp(driver, "pulseaudio") == 0 || std::strcmp(driver, "pipewire") == 0);
}

bool SdlAudioDevice::open(const WaveFormat& format) {
  if (device_ || format.block_align == 0) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.samples_per_sec);
  want.format = AUDIO_F32SYS;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 1024;
  want.callback = &SdlAudioDevice::fill;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!device_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  format_ = format;
  if (plays_through_server()) {
    server_ = ServerLatencyProbe::start([this](std::uint64_t held_us) { on_server_answer(held_us); });
    // The block, written right after, must not start before the first answer.
    std::unique_lock lock(answers_lock_);
    if (server_) first_answer_.wait_for(lock, kFirstAnswerWait, [this] { return answer_count_ > 0; });
  }
  return true;
}

void SdlAudioDevice::prepare(WaveBlock& block) {
  if (!device_) return;
  SDL_LockAudioDevice(device_);
  data_ = static_cast<const unsigned char*>(block.data);
  length_ = block.buffer_length - block.buffer_length % format_.block_align;
  handed_ = 0;
  taken_ = 0;
  last_chunk_ = 0;
  SDL_UnlockAudioDevice(device_);
  frames_ = block_frames(block, format_);
}

void SdlAudioDevice::write(WaveBlock& block) {
  if (!device_ || data_ != block.data || playing_) return;
  playing_ = true;
  if (!held_) SDL_PauseAudioDevice(device_, 0);
}

void SdlAudioDevice::fill(void* self, Uint8* stream, int len) {
  static_cast<SdlAudioDevice*>(self)->fill(stream, static_cast<std::uint32_t>(len));
}

void SdlAudioDevice::fill(Uint8* stream, std::uint32_t len) {
  const std::uint32_t left = data_ ? length_ - handed_ : 0;
  const std::uint32_t take = std::min(len, left);
  if (take) std::memcpy(stream, data_ + handed_, take);
  // Float zero is silence: after the block the device plays nothing.
  std::memset(stream + take, 0, len - take);
  // The silence after the block counts too: behind a server it pushes the
  // block's last samples out to be heard.
  handed_ += take;
  taken_ += len;
  last_chunk_ = len;
  last_fill_ = Clock::now();
}

// The latest chunk is taken as still buffered when it was handed over and as
// playing out in real time from then on, which keeps the count smooth between
// SDL's fills instead of jumping a whole buffer at a time; less what the
// server holds.
std::uint32_t SdlAudioDevice::played_frames() const {
  SDL_LockAudioDevice(device_);
  const std::uint32_t align = format_.block_align;
  const std::uint64_t taken = taken_ / align;
  const std::uint32_t chunk = last_chunk_ / align;
  const auto since = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - last_fill_);
  SDL_UnlockAudioDevice(device_);
  const std::uint64_t drained = static_cast<std::uint64_t>(since.count()) * format_.samples_per_sec / 1'000'000u;
  const std::uint64_t playing = taken - chunk + std::min<std::uint64_t>(drained, chunk);
  const std::uint64_t held = server_latency_frames();
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(playing > held ? playing - held : 0, UINT32_MAX));
}

void SdlAudioDevice::on_server_answer(std::uint64_t held_us) {
  {
    std::lock_guard lock(answers_lock_);
    answers_[answer_count_++ % answers_.size()] = held_us;
  }
  first_answer_.notify_all();
}

// One answer catches the server's buffer at some point of its refills; the
// median of the latest ones is steady.
std::uint32_t SdlAudioDevice::server_latency_frames() const {
  Answers answers;
  std::size_t count = 0;
  {
    std::lock_guard lock(answers_lock_);
    count = std::min(answer_count_, answers_.size());
    answers = answers_;
  }
  if (count == 0) return 0;
  std::nth_element(answers.begin(), answers.begin() + count / 2, answers.begin() + count);
  return static_cast<std::uint32_t>(answers[count / 2] * format_.samples_per_sec / 1'000'000u);
}

bool SdlAudioDevice::position(AudioPosition& out) {
  if (!device_) return false;
  if (counting()) reported_ = std::clamp(played_frames(), reported_, frames_);
  out.sample = reported_;
  return true;
}

void SdlAudioDevice::stop() {
  if (!device_) return;
  if (counting()) reported_ = std::clamp(played_frames(), reported_, frames_);
  playing_ = false;
  stopped_ = true;
  SDL_PauseAudioDevice(device_, 1);
}

// What SDL already took but did not play yet is handed over again on
// resuming, so the sound goes on from the frame the picture stood at.
bool SdlAudioDevice::pause(bool held) {
  if (!device_ || stopped_) return false;
  if (held == held_) return true;
  if (held) {
    if (playing_) reported_ = std::clamp(played_frames(), reported_, frames_);
    held_ = true;
    SDL_PauseAudioDevice(device_, 1);
  } else {
    held_ = false;
    hand_over_from(reported_);
    if (playing_) SDL_PauseAudioDevice(device_, 0);
  }
  return true;
}

bool SdlAudioDevice::seek(std::uint32_t frames) {
  if (!device_ || stopped_) return false;
  hand_over_from(std::min(frames, frames_));
  return true;
}

// With no chunk in flight the count is exactly `frame` until SDL's next fill;
// what the server holds counts as not heard yet, as after the write.
void SdlAudioDevice::hand_over_from(std::uint32_t frame) {
  const std::uint64_t held = server_latency_frames();
  SDL_LockAudioDevice(device_);
  handed_ = frame * format_.block_align;
  taken_ = (frame + held) * format_.block_align;
  last_chunk_ = 0;
  SDL_UnlockAudioDevice(device_);
  reported_ = frame;
}

void SdlAudioDevice::unprepare(WaveBlock& block) {
  if (!device_ || data_ != block.data) return;
  SDL_LockAudioDevice(device_);
  data_ = nullptr;
  SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::close() {
  if (!device_) return;
  server_.reset();
  answer_count_ = 0;
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device_ = 0;
  playing_ = false;
  held_ = stopped_ = false;
}

}  // namespace

std::unique_ptr<AudioDevice> make_sdl_audio_device() { return std::make_unique<SdlAudioDevice>(); }

std::unique_ptr<AudioDevice> make_system_audio_device() { return make_sdl_audio_device(); }

}  // namespace platform
