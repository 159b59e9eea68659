#pragma once
// A capture to H.264 video through the ffmpeg command, in two steps: the
// audio of the whole range is written as WAV before the first frame (a disk
// too full for it fails before any rendering), then the frames are piped raw
// into ffmpeg as they are rendered and encoded to a temporary file beside the
// output; when the capture ends (completed or interrupted) the audio of
// exactly the frames made is muxed with the pictures, copied as they are,
// into the output. So an interrupted capture still gives a whole, playable
// file, with its sound. A failed mux leaves no output behind.

#include <memory>
#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/common/child_process.h"
#include "tools/common/wav_file.h"

struct VideoSettings {
  std::string out;  // .mp4 or .mkv
  Size size;
  int fps = 60;
  int crf = 18;
};

class VideoEncoder {
 public:
  // Null with a message when ffmpeg is missing or cannot start, or the
  // audio of sample frames [first_sample, first_sample + sample_count) of
  // `audio` cannot be written.
  static std::unique_ptr<VideoEncoder> start(const VideoSettings& settings, const PcmSource& audio,
                                             uint64_t first_sample, uint64_t sample_count, std::string* error);
  ~VideoEncoder();  // removes the temporary files

  // One RGBA8 frame of the settings' size.
  bool add_frame(const std::vector<uint8_t>& rgba, std::string* error);

  // Ends the picture stream and writes the output with the first
  // `sample_count` sample frames of the audio under it.
  bool finish(uint64_t sample_count, std::string* error);

  int frames() const { return frames_; }

 private:
  explicit VideoEncoder(VideoSettings settings) : settings_(std::move(settings)) {}
  bool mux(std::string* error);

  VideoSettings settings_;
  PcmSource audio_;
  uint64_t first_sample_ = 0, sample_count_ = 0;
  std::string picture_path_, audio_path_;
  std::unique_ptr<ChildProcess> encoder_;
  int frames_ = 0;
};

// The message for a missing ffmpeg command.
extern const char kFfmpegMissing[];
