#pragma once
// A whole capture for checked options: the output prepared, the intro
// started headless at the requested size, the frames or stills rendered and
// written, the intro stopped. Messages go to stderr.

#include "src/headless_intro.h"
#include "tools/capture/capture_options.h"
#include "tools/common/interruption.h"

enum class CaptureExit : int {
  Done = 0,
  BadArguments = 2,
  NoDevice = 3,
  OutputFailed = 4,
  PartIncomplete = 5,  // --part with --check
  Interrupted = kInterruptedExit,
};

// Where a range capture's time went, for the record of a part.
struct RangeTimes {
  int64_t priming_frames = 0;
  double priming_seconds = 0;  // the replayed frames
  double frames_seconds = 0;   // the range's frames, rendered and written
};

CaptureExit run_capture(const CaptureOptions& options, RangeTimes* times = nullptr);

// The two kinds of capture, on a started intro.
CaptureExit capture_range(HeadlessIntro& intro, const CaptureOptions& options, RangeTimes* times = nullptr);
CaptureExit capture_stills(HeadlessIntro& intro, const CaptureOptions& options);

// "velmorand-capture: <message>" on stderr.
void capture_message(const std::string& message);
