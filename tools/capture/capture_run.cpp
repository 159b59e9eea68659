#include "tools/capture/capture_run.h"

#include <cstdio>

#include "tools/offline/offline_frames.h"
#include "tools/common/child_process.h"
#include "tools/common/interruption.h"
#include "tools/capture/output_paths.h"
#include "tools/capture/video_encoder.h"

namespace {

// Everything that can be refused cheaply is refused before the slow start-up.
CaptureExit check_output(const CaptureOptions& options) {
  std::string error;
  if (options.kind == OutputKind::Video && find_on_path("ffmpeg").empty()) {
    capture_message(kFfmpegMissing);
    return CaptureExit::OutputFailed;
  }
  if (!prepare_output(options, &error)) {
    capture_message(error);
    return CaptureExit::OutputFailed;
  }
  return CaptureExit::Done;
}

std::unique_ptr<HeadlessIntro> start_intro(Size size) {
  std::string error;
  auto intro = start_headless_intro({.screen = size}, &error);
  if (!intro) {
    capture_message("cannot render at " + size_text(size) + ": " + error);
    return nullptr;
  }
  const std::string problem = size_problem(*intro->renderer);
  if (problem.empty()) return intro;
  capture_message(problem);
  stop_headless_intro(*intro);
  return nullptr;
}

}  // namespace

void capture_message(const std::string& message) {
  std::fprintf(stderr, "velmorand-capture: %s\n", message.c_str());
}

CaptureExit run_capture(const CaptureOptions& options, RangeTimes* times) {
  CaptureExit checked = check_output(options);
  if (checked != CaptureExit::Done) return checked;
  auto intro = start_intro(options.size);
  if (!intro) return CaptureExit::NoDevice;
  // Where the player swaps in a saved list: after the start-up installed the compiled-in keys.
  if (options.key_lists && !lay_over_tracks(*options.key_lists)) {
    capture_message("out of memory for the keys of " + options.key_lists->dir);
    stop_headless_intro(*intro);
    return CaptureExit::OutputFailed;
  }
  start_up_done();
  CaptureExit result = options.at.empty() ? capture_range(*intro, options, times)
                                          : capture_stills(*intro, options);
  stop_headless_intro(*intro);
  return result;
}
