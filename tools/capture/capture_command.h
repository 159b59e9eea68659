#pragma once
// A velmorand-capture command line read whole, doing none of what it asks,
// so that what main runs and what a test or fuzzer reads are the same words.

#include <optional>
#include <string>
#include <vector>

#include "tools/capture/capture_options.h"
#include "tools/capture/join_options.h"
#include "tools/capture/part_options.h"

struct CaptureCommand {
  // Empty when the command line reads; otherwise the one line to print, and
  // the tool ends with status 2 (bad arguments).
  std::string refusal;
  std::optional<JoinRequest> join;
  std::optional<PartRequest> part;
  CaptureOptions options;  // a range, stills or a part; unused by a join
};

CaptureCommand read_capture_command(std::vector<std::string> args);
