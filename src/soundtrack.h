#pragma once
// The soundtrack: decoded once at start-up to float PCM and played as one
// block, whose played-frame count is the clock of the whole intro.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/audio/audio_device.h"

struct TrackRegistry;

// Owned by the entry routine for the whole run.
struct PlaybackState {
  TrackRegistry* registry = nullptr;  // owned; made by playback_start
  // The output device. A device placed here before playback_start (a virtual
  // clock for capture or tests) is used as it is; otherwise playback_start
  // opens the default output, or a silent wall clock when there is none.
  std::unique_ptr<platform::AudioDevice> wave_out;
  platform::AudioPosition position;  // the record every position query fills
};

// Process-lifetime sound data, filled by decode_soundtrack.
extern float* soundtrack_pcm;                  // interleaved by channel
extern std::uint32_t soundtrack_sample_count;  // samples of all channels together
extern platform::WaveFormat soundtrack_format;
extern platform::WaveBlock soundtrack_block;

// Decodes the embedded stream, builds the sync tracks (exits with status 1
// when they cannot be built), opens the output and starts the block playing.
// Call once, after the GPU resources exist and right before the main loop.
void playback_start(PlaybackState& state);

// `device` opened for `format`, or, when it cannot be (said on stderr), a
// silent wall clock, which always opens.
std::unique_ptr<platform::AudioDevice> opened_or_wall_clock(std::unique_ptr<platform::AudioDevice> device,
                                                            const platform::WaveFormat& format);

// Played sample frames per channel; repeats the last answer when the device
// cannot answer.
std::uint32_t playback_position(PlaybackState& state);

// Stops and releases the device before the PCM it reads, then the PCM, then
// the track registry.
void playback_shutdown(PlaybackState& state);

// The decoding half of playback_start, on any stream: fills soundtrack_pcm,
// soundtrack_format and soundtrack_block. A stream that cannot be opened or
// decodes short is reported on stderr and leaves silence where nothing was
// decoded. Returns false, after a message, only when the PCM cannot be
// allocated.
bool decode_soundtrack(const unsigned char* data, std::size_t size);

// Frees soundtrack_pcm and empties the block that points at it.
void release_soundtrack_pcm();

// Zeroed room for `sample_count` floats, or null when it cannot be had. Counts
// of 2^30 and above are refused: their byte length does not fit the block
// header's 32-bit length.
float* allocate_soundtrack_pcm(std::uint64_t sample_count);
