#pragma once
// What velmorand-tracks is asked to do, read from its command line without
// touching anything: one command with its arguments, and the key lists to
// evaluate instead of the compiled-in keys where the command takes them.
#include <optional>
#include <string>
#include <vector>

struct TracksRequest {
  std::string command;                 // "--at", "--export", ... or "--help"
  std::vector<std::string> arguments;  // the command's own, one or (--import-text) two
  std::optional<std::string> choreography;
};

// Nullopt with the reason in `error` (one line) for anything else.
std::optional<TracksRequest> parse_tracks_request(int argc, const char* const argv[], std::string* error);
