#include "tools/capture/capture_command.h"

CaptureCommand read_capture_command(std::vector<std::string> args) {
  CaptureCommand command;
  std::string error;
  if (asks_for_join(args)) {
    command.join = parse_join(args, &error);
    if (!command.join) command.refusal = error;
    return command;
  }
  std::optional<CaptureOptions> options;
  if (take_part_options(args, &command.part, &error)) {
    std::vector<const char*> words;
    for (const std::string& a : args) words.push_back(a.c_str());
    options = parse_capture_options(static_cast<int>(words.size()), words.data(), &error);
  }
  if (options) command.options = *options;
  else command.refusal = error + " (velmorand-capture --help lists the options)";
  return command;
}
