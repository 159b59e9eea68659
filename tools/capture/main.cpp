// velmorand-capture: the intro rendered offline, frame by frame, to PNG files
// or to a video with its soundtrack; in parts, and the parts joined.
#include <cstdio>

#include "platform/program_name.h"
#include "tools/capture/capture_command.h"
#include "tools/capture/capture_parts.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/flash_report.h"
#include "tools/capture/join_parts.h"
#include "tools/common/interruption.h"
#include "tools/common/os_process.h"

int main(int argc, char** argv) {
  platform::set_program_name("velmorand-capture");
  const std::vector<std::string> args(argv, argv + argc);
  if (!asks_for_join(args) && asks_for_flash_report(args)) {
    install_interruption_handlers();
    return run_flash_report(args);
  }
  CaptureCommand command = read_capture_command(args);
  if (!command.refusal.empty()) {
    capture_message(command.refusal);
    return static_cast<int>(CaptureExit::BadArguments);
  }
  if (command.join) return static_cast<int>(run_join(*command.join));
  CaptureOptions& options = command.options;
  if (options.help) {
    std::fputs(kCaptureUsage, stdout);
    std::fputs(kPartsUsage, stdout);
    std::fputs(kFlashReportUsage, stdout);
    return 0;
  }
  if (!options.choreography.empty()) {
    auto lists = std::make_shared<KeyListFolder>();
    std::string error;
    if (!read_key_list_folder(options.choreography, lists.get(), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return static_cast<int>(CaptureExit::BadArguments);
    }
    options.key_lists = std::move(lists);
  }
  install_interruption_handlers();
  os::enable_terminal_escapes();
  const auto& part = command.part;
  if (part) return static_cast<int>(part->check ? check_part(options, *part) : capture_part(options, *part));
  return static_cast<int>(run_capture(options));
}
