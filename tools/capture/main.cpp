// velmorand-capture: the intro rendered offline, frame by frame, to PNG files
// or to a video with its soundtrack.
#include <cstdio>

#include "tools/capture/capture_options.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/interruption.h"
#include "tools/capture/os_process.h"

int main(int argc, char** argv) {
  std::string error;
  auto options = parse_capture_options(argc, argv, &error);
  if (!options) {
    capture_message(error + " (velmorand-capture --help lists the options)");
    return static_cast<int>(CaptureExit::BadArguments);
  }
  if (options->help) {
    std::fputs(kCaptureUsage, stdout);
    return 0;
  }
  install_interruption_handlers();
  os::enable_terminal_escapes();
  return static_cast<int>(run_capture(*options));
}
