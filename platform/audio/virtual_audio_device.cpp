#include "platform/audio/virtual_audio_device.h"

#include <algorithm>
#include <limits>

namespace platform {

bool VirtualAudioDevice::open(const WaveFormat& format) {
  format_ = format;
  open_ = true;
  return true;
}

void VirtualAudioDevice::prepare(WaveBlock& block) {
  if (!open_) return;
  block_ = &block;
  frames_ = block_frames(block, format_);
}

void VirtualAudioDevice::write(WaveBlock& block) {
  if (!open_ || block_ != &block) return;
  written_ = true;
  playing_ = true;
}

bool VirtualAudioDevice::position(AudioPosition& out) {
  if (!open_) return false;
  out.sample = written_ ? std::min(position_, frames_) : 0;
  if (playing_ && !held_) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - position_;
    position_ += std::min(step_, room);
  }
  return true;
}

void VirtualAudioDevice::stop() { playing_ = false; }

void VirtualAudioDevice::unprepare(WaveBlock& block) {
  if (block_ == &block) block_ = nullptr;
}

void VirtualAudioDevice::close() {
  stop();
  open_ = false;
}

bool VirtualAudioDevice::pause(bool held) {
  if (!open_ || stopped()) return false;
  held_ = held;
  return true;
}

bool VirtualAudioDevice::seek(std::uint32_t frames) {
  if (!open_ || stopped()) return false;
  position_ = std::min(frames, frames_);
  return true;
}

}  // namespace platform
