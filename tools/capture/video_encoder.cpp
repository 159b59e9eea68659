#include "tools/capture/video_encoder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/common/os_process.h"
#include "tools/capture/output_paths.h"

const char kFfmpegMissing[] =
#ifdef _WIN32
    "ffmpeg.exe is not on PATH; video output needs it (PNG output does not)";
#else
    "the ffmpeg command is not on PATH; video output needs it (Debian package ffmpeg: "
    "apt-get install ffmpeg)";
#endif

namespace {

// A fresh, empty file beside the output, so the final mux stays on one disk.
bool make_temporary(const std::string& out, const char* suffix, std::string* path, std::string* error) {
  std::string reason;
  *path = os::make_unique_file(parent_folder(out) + "/.velmorand-capture-", suffix, &reason);
  if (path->empty()) *error = "cannot create a temporary file beside " + out + ": " + reason;
  return !path->empty();
}

std::vector<std::string> encoder_command(const VideoSettings& s, const std::string& picture_path) {
  std::string size = std::to_string(s.size.width) + "x" + std::to_string(s.size.height);
  return {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostats", "-f", "rawvideo", "-pix_fmt", "rgba",
          "-video_size", size, "-framerate", std::to_string(s.fps), "-i", "pipe:0",
          // Tagged and converted as BT.709 so players show the colours that were rendered.
          "-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v", "libx264", "-preset",
          "medium", "-crf", std::to_string(s.crf), "-colorspace", "bt709", "-color_primaries", "bt709",
          "-color_trc", "bt709", "-color_range", "tv", "-f", "mp4", "-y", picture_path};
}

bool is_matroska(const std::string& path) {
  std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".mkv";
}

}  // namespace

std::unique_ptr<VideoEncoder> VideoEncoder::start(const VideoSettings& settings, const PcmSource& audio,
                                                  uint64_t first_sample, uint64_t sample_count,
                                                  std::string* error) {
  if (find_on_path("ffmpeg").empty()) {
    *error = kFfmpegMissing;
    return nullptr;
  }
  std::unique_ptr<VideoEncoder> video(new VideoEncoder(settings));
  video->audio_ = audio;
  video->first_sample_ = first_sample;
  video->sample_count_ = sample_count;
  if (!make_temporary(settings.out, ".mp4", &video->picture_path_, error) ||
      !make_temporary(settings.out, ".wav", &video->audio_path_, error) ||
      !write_float_wav(video->audio_path_, audio, first_sample, sample_count, error))
    return nullptr;
  video->encoder_ = ChildProcess::start(encoder_command(settings, video->picture_path_), true, error);
  if (!video->encoder_) return nullptr;
  return video;
}

VideoEncoder::~VideoEncoder() {
  encoder_.reset();
  if (!picture_path_.empty()) unlink(picture_path_.c_str());
  if (!audio_path_.empty()) unlink(audio_path_.c_str());
}

bool VideoEncoder::add_frame(const std::vector<uint8_t>& rgba, std::string* error) {
  if (!encoder_->write(rgba.data(), rgba.size())) {
    *error = "ffmpeg stopped taking frames (exit status " + std::to_string(encoder_->finish()) + ")";
    return false;
  }
  ++frames_;
  return true;
}

bool VideoEncoder::finish(uint64_t sample_count, std::string* error) {
  int status = encoder_->finish();
  if (status != 0) {
    *error = "ffmpeg failed encoding the frames (exit status " + std::to_string(status) + ")";
    return false;
  }
  if (frames_ == 0) {
    *error = "no frame was captured, so no video was written";
    return false;
  }
  // An interrupted capture has the sound of fewer frames: written again, shorter.
  if (sample_count != sample_count_ &&
      !write_float_wav(audio_path_, audio_, first_sample_, sample_count_ = sample_count, error))
    return false;
  return mux(error);
}

bool VideoEncoder::mux(std::string* error) {
  std::vector<std::string> command = {"ffmpeg", "-hide_banner", "-loglevel", "error",     "-nostdin",
                                      "-i",     picture_path_,  "-i",        audio_path_, "-map",
                                      "0:v:0",  "-map",         "1:a:0",     "-c:v",      "copy",
                                      "-c:a",   "aac",          "-b:a",      "192k"};
  if (!is_matroska(settings_.out)) command.insert(command.end(), {"-movflags", "+faststart"});
  command.insert(command.end(), {"-y", settings_.out});
  int status = run_program(command, error);
  if (status == 0) return true;
  if (status != -1)
    *error = "ffmpeg failed writing " + settings_.out + " (exit status " + std::to_string(status) + ")";
  struct stat st;
  if (stat(settings_.out.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(settings_.out.c_str());
  return false;
}
