#pragma once
// The command line of a join: --join PART... --out FILE.mp4|.mkv.

#include <optional>
#include <string>
#include <vector>

struct JoinRequest {
  std::vector<std::string> parts;
  std::string out;
};

// Whether the command line asks for a join.
bool asks_for_join(const std::vector<std::string>& args);

// The parts and the output, or nullopt with the reason in `error`.
std::optional<JoinRequest> parse_join(const std::vector<std::string>& args, std::string* error);
