#pragma once
// Decodes an MPEG audio stream held in memory to interleaved float32 samples
// on the 16-bit scale divided by 32768, i.e. nominally in [-1, 1), unclipped.
// Every frame is decoded; only a stream that carries an encoder tag with its
// delay and padding has those trimmed, so an untagged stream yields exactly
// 1152 sample frames per Layer III frame.
#include <cstddef>
#include <cstdint>

struct mpg123_handle_struct;

class Mp3Decoder {
 public:
  // Opens the stream and walks every frame to learn its exact length.
  Mp3Decoder(const unsigned char* data, std::size_t size);
  ~Mp3Decoder();
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  // False when the bytes hold no decodable stream.
  bool is_open() const { return open_; }
  // Samples of all channels together; 0 when not open.
  std::uint64_t total_samples() const { return total_samples_; }
  int channels() const { return channels_; }
  long rate() const { return rate_; }

  // Decodes up to `samples` samples into `dest`; returns how many it wrote.
  std::uint64_t read(float* dest, std::uint64_t samples);

  // What the reader callbacks see; public only so they can reach it.
  struct Cursor {
    const unsigned char* data;
    std::size_t size;
    std::size_t offset;
  };

 private:
  bool open();

  Cursor cursor_;
  mpg123_handle_struct* handle_ = nullptr;
  bool open_ = false;
  std::uint64_t total_samples_ = 0;
  int channels_ = 0;
  long rate_ = 0;
};
