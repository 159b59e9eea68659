// A range of frames [from, to) to numbered PNG files or to a video.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "tools/offline/offline_frames.h"
#include "tools/capture/capture_run.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/interruption.h"
#include "tools/capture/output_paths.h"
#include "tools/capture/png_file.h"
#include "tools/offline/progress_line.h"
#include "tools/capture/soundtrack_source.h"
#include "tools/capture/video_encoder.h"

namespace {

// Where each frame goes: a numbered PNG file or the next video frame.
struct FrameOutput {
  const CaptureOptions& options;
  VideoEncoder* video;
  bool take(const std::vector<uint8_t>& rgba, int64_t k, std::string* error) {
    if (video) return video->add_frame(rgba, error);
    return write_png(frame_png_path(options.out, k), rgba, options.size.width, options.size.height, error);
  }
};

void describe(const CaptureOptions& o, int64_t first, int64_t end, const Priming& plan) {
  char line[256];
  std::snprintf(line, sizeof line, "%dx%d at %d fps: frames %lld to %lld (%.3f s) into %s", o.size.width,
                o.size.height, o.fps, static_cast<long long>(first), static_cast<long long>(end - 1),
                double(end - first) / o.fps, o.out.c_str());
  capture_message(line);
  if (!plan.frames.empty()) capture_message(replay_text(plan) + " (rendered, not kept)");
}

enum class LoopEnd { Completed, Interrupted, OutputFailed };

struct Stopwatch {
  std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
  double lap() {
    auto now = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(now - last).count();
    last = now;
    return seconds;
  }
};

// The priming frames, then frames [first, end) into `output`; `*done` ends one
// past the last frame written.
LoopEnd render_frames(HeadlessIntro& intro, const CaptureOptions& o, const Priming& plan, int64_t first,
                      int64_t end, FrameOutput& output, int64_t* done, RangeTimes& times) {
  Stopwatch stopwatch;
  bool interrupted = false;
  if (!plan.frames.empty()) {
    // Counted apart: they are not the capture's frames.
    ProgressLine replayed(static_cast<int64_t>(plan.frames.size()), stderr, "replayed frame");
    interrupted = !run_priming(intro, plan, o.fps, [&replayed] { replayed.frame_done(); }) ||
                  interruption_requested();
    replayed.finish();
  }
  times.priming_frames = static_cast<int64_t>(plan.frames.size());
  times.priming_seconds = stopwatch.lap();
  ProgressLine progress(end - first, stderr);
  std::string error;
  for (*done = first; *done < end && !interrupted; ++*done) {
    render_grid_frame(intro, *done, o.fps);
    if (!output.take(back_buffer_pixels(intro), *done, &error)) {
      progress.finish();
      capture_message(error);
      return LoopEnd::OutputFailed;
    }
    progress.frame_done();
    interrupted = interruption_requested();
  }
  times.frames_seconds = stopwatch.lap();
  progress.finish();
  if (!interrupted) return LoopEnd::Completed;
  capture_message("interrupted after " + std::to_string(*done - first) + " frames");
  return LoopEnd::Interrupted;
}

// Muxes the frames made with the sound they cover: positions of frame
// `first` up to (not including) frame `done`.
bool finish_video(VideoEncoder& video, const CaptureOptions& o, int64_t first, int64_t done) {
  std::string error;
  if (!video.finish(frame_position(done, o.fps) - frame_position(first, o.fps), &error)) {
    capture_message(error);
    return false;
  }
  capture_message("wrote " + o.out + " (" + std::to_string(video.frames()) + " frames with their sound)");
  return true;
}

}  // namespace

CaptureExit capture_range(HeadlessIntro& intro, const CaptureOptions& o, RangeTimes* times) {
  const int64_t first = first_frame_at(o.from, o.fps), end = first_frame_at(o.to, o.fps);
  if (end <= first) {
    capture_message("the range holds no frame at " + std::to_string(o.fps) + " fps");
    return CaptureExit::BadArguments;
  }
  Priming plan = plan_priming(frame_position(first, o.fps), o.fps, intro_glitch_credits());
  describe(o, first, end, plan);
  std::string error;
  std::unique_ptr<VideoEncoder> video;
  const uint32_t from = frame_position(first, o.fps), to = frame_position(end, o.fps);
  if (o.kind == OutputKind::Video &&
      !(video = VideoEncoder::start({o.out, o.size, o.fps, o.crf}, soundtrack_source(), from, to - from,
                                    &error))) {
    capture_message(error);
    return CaptureExit::OutputFailed;
  }
  FrameOutput output{o, video.get()};
  int64_t done = first;
  RangeTimes spent;
  LoopEnd loop = render_frames(intro, o, plan, first, end, output, &done, times ? *times : spent);
  if (loop == LoopEnd::OutputFailed) return CaptureExit::OutputFailed;
  // An interrupted video is still finished: what was captured stays playable.
  if (video && done > first && !finish_video(*video, o, first, done)) return CaptureExit::OutputFailed;
  if (!video && loop == LoopEnd::Completed)
    capture_message("wrote " + std::to_string(done - first) + " files into " + o.out + " (" +
                    std::filesystem::path(frame_png_path(o.out, first)).filename().string() + " to " +
                    std::filesystem::path(frame_png_path(o.out, done - 1)).filename().string() + ")");
  return loop == LoopEnd::Interrupted ? CaptureExit::Interrupted : CaptureExit::Done;
}
