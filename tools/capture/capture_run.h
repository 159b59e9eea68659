#pragma once
// A whole capture for checked options: the output prepared, the intro
// started headless at the requested size, the frames or stills rendered and
// written, the intro stopped. Messages go to stderr.

#include "src/headless_intro.h"
#include "tools/capture/capture_options.h"

enum class CaptureExit : int {
  Done = 0,
  BadArguments = 2,
  NoDevice = 3,
  OutputFailed = 4,
  Interrupted = 130,
};

CaptureExit run_capture(const CaptureOptions& options);

// The two kinds of capture, on a started intro.
CaptureExit capture_range(HeadlessIntro& intro, const CaptureOptions& options);
CaptureExit capture_stills(HeadlessIntro& intro, const CaptureOptions& options);

// "velmorand-capture: <message>" on stderr.
void capture_message(const std::string& message);
