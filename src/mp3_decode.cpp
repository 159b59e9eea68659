#include "src/mp3_decode.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

mpg123_ssize_t read_memory(void* handle, void* buffer, std::size_t bytes) {
  auto* cursor = static_cast<Mp3Decoder::Cursor*>(handle);
  const std::size_t n = std::min(bytes, cursor->size - cursor->offset);
  if (n == 0) return 0;
  std::memcpy(buffer, cursor->data + cursor->offset, n);
  cursor->offset += n;
  return static_cast<mpg123_ssize_t>(n);
}

off_t seek_memory(void* handle, off_t offset, int whence) {
  auto* cursor = static_cast<Mp3Decoder::Cursor*>(handle);
  off_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<off_t>(cursor->offset);
  if (whence == SEEK_END) base = static_cast<off_t>(cursor->size);
  const off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(cursor->size)) return -1;
  cursor->offset = static_cast<std::size_t>(target);
  return target;
}

// Float output in the stream's own layout; a stream that changes rate or
// channels midway ends at the change rather than mixing two layouts. Junk of
// any length between frames is searched through (the library gives up after
// 1 KiB by default and would end the stream there), so every frame decodes.
bool configure(mpg123_handle* handle) {
  return mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_NO_FRANKENSTEIN, 0) == MPG123_OK &&
         mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0) == MPG123_OK &&
         mpg123_format_none(handle) == MPG123_OK &&
         mpg123_format2(handle, 0, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32) == MPG123_OK;
}

}  // namespace

Mp3Decoder::Mp3Decoder(const unsigned char* data, std::size_t size) : cursor_{data, size, 0} {
  open_ = open();
  if (!open_) {
    total_samples_ = 0;
    channels_ = 0;
    rate_ = 0;
  }
}

Mp3Decoder::~Mp3Decoder() {
  if (handle_) mpg123_delete(handle_);
}

bool Mp3Decoder::open() {
  if (!cursor_.data && cursor_.size) return false;
  handle_ = mpg123_new(nullptr, nullptr);
  if (!handle_ || !configure(handle_)) return false;
  if (mpg123_replace_reader_handle(handle_, read_memory, seek_memory, nullptr) != MPG123_OK) return false;
  if (mpg123_open_handle(handle_, &cursor_) != MPG123_OK) return false;
  int encoding = 0;
  if (mpg123_getformat(handle_, &rate_, &channels_, &encoding) != MPG123_OK) return false;
  // The exact length comes from walking every frame, not from a guess by
  // size; the walk returns to the start.
  if (mpg123_scan(handle_) != MPG123_OK) return false;
  const off_t frames = mpg123_length(handle_);
  if (frames < 0) return false;
  total_samples_ = static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(channels_);
  return true;
}

std::uint64_t Mp3Decoder::read(float* dest, std::uint64_t samples) {
  if (!open_) return 0;
  auto* out = reinterpret_cast<unsigned char*>(dest);
  const std::uint64_t wanted = samples * sizeof(float);
  std::uint64_t done = 0;
  while (done < wanted) {
    std::size_t got = 0;
    const int result = mpg123_read(handle_, out + done, wanted - done, &got);
    done += got;
    if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && got)) continue;
    break;  // the end, an error, or no progress
  }
  return done / sizeof(float);
}
