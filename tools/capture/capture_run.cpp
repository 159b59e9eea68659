#include "tools/capture/capture_run.h"

#include <cstdio>

#include "tools/capture/capture_frames.h"
#include "tools/capture/child_process.h"
#include "tools/capture/output_paths.h"
#include "tools/capture/video_encoder.h"

namespace {

std::string size_text(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

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

bool size_allowed(Size size, int limit, const std::string& device) {
  if (limit <= 0 || (size.width <= limit && size.height <= limit)) return true;
  capture_message("the size " + size_text(size) + " is beyond what " + device +
                  " allows: at most " + std::to_string(limit) + " pixels a side");
  return false;
}

std::unique_ptr<HeadlessIntro> start_intro(Size size) {
  std::string error;
  auto intro = start_headless_intro({.screen = size}, &error);
  if (!intro) {
    capture_message("cannot render at " + size_text(size) + ": " + error);
    return nullptr;
  }
  const std::string adapter = intro->device->adapter_name();
  bool allowed = size_allowed(size, intro->device->max_image_side(), "the device (" + adapter + ")");
  if (allowed && !all_targets_created(*intro)) {
    capture_message("the device could not make every image at " + size_text(size));
    allowed = false;
  }
  if (!allowed) {
    stop_headless_intro(*intro);
    return nullptr;
  }
  return intro;
}

}  // namespace

void capture_message(const std::string& message) {
  std::fprintf(stderr, "velmorand-capture: %s\n", message.c_str());
}

CaptureExit run_capture(const CaptureOptions& options) {
  CaptureExit checked = check_output(options);
  if (checked != CaptureExit::Done) return checked;
  auto intro = start_intro(options.size);
  if (!intro) return CaptureExit::NoDevice;
  CaptureExit result = options.at.empty() ? capture_range(*intro, options) : capture_stills(*intro, options);
  stop_headless_intro(*intro);
  return result;
}
