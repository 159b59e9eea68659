// velmorand-capture: the intro rendered offline, frame by frame, to PNG files
// or to a video with its soundtrack; in parts, and the parts joined.
#include <cstdio>

#include "tools/capture/capture_command.h"
#include "tools/capture/capture_parts.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/interruption.h"
#include "tools/capture/join_parts.h"
#include "tools/capture/os_process.h"

int main(int argc, char** argv) {
  const CaptureCommand command = read_capture_command({argv, argv + argc});
  if (!command.refusal.empty()) {
    capture_message(command.refusal);
    return static_cast<int>(CaptureExit::BadArguments);
  }
  if (command.join) return static_cast<int>(run_join(*command.join));
  const CaptureOptions& options = command.options;
  if (options.help) {
    std::fputs(kCaptureUsage, stdout);
    std::fputs(kPartsUsage, stdout);
    return 0;
  }
  install_interruption_handlers();
  os::enable_terminal_escapes();
  const auto& part = command.part;
  if (part) return static_cast<int>(part->check ? check_part(options, *part) : capture_part(options, *part));
  return static_cast<int>(run_capture(options));
}
