// velmorand-capture: the intro rendered offline, frame by frame, to PNG files
// or to a video with its soundtrack; in parts, and the parts joined.
#include <cstdio>

#include "platform/program_name.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_parts.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/flash_report.h"
#include "tools/common/interruption.h"
#include "tools/capture/join_parts.h"
#include "tools/common/os_process.h"

int main(int argc, char** argv) {
  platform::set_program_name("velmorand-capture");
  std::vector<std::string> args(argv, argv + argc);
  if (asks_for_join(args)) return static_cast<int>(run_join(args));
  if (asks_for_flash_report(args)) {
    install_interruption_handlers();
    return run_flash_report(args);
  }
  std::string error;
  std::optional<PartRequest> part;
  std::vector<const char*> rest;
  if (take_part_options(args, &part, &error))
    for (const std::string& a : args) rest.push_back(a.c_str());
  auto options = rest.empty() ? std::nullopt
                              : parse_capture_options(static_cast<int>(rest.size()), rest.data(), &error);
  if (!options) {
    capture_message(error + " (velmorand-capture --help lists the options)");
    return static_cast<int>(CaptureExit::BadArguments);
  }
  if (options->help) {
    std::fputs(kCaptureUsage, stdout);
    std::fputs(kPartsUsage, stdout);
    std::fputs(kFlashReportUsage, stdout);
    return 0;
  }
  if (!options->choreography.empty()) {
    auto lists = std::make_shared<KeyListFolder>();
    if (!read_key_list_folder(options->choreography, lists.get(), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return static_cast<int>(CaptureExit::BadArguments);
    }
    options->key_lists = std::move(lists);
  }
  install_interruption_handlers();
  os::enable_terminal_escapes();
  if (part) return static_cast<int>(part->check ? check_part(*options, *part) : capture_part(*options, *part));
  return static_cast<int>(run_capture(*options));
}
