#pragma once
// velmorand-tracks' command line, read without running anything, so the
// tool and the option fuzzer read it alike.
#include <cstdio>
#include <optional>
#include <string>

struct TracksCommand {
  std::string name;          // "--at", "--export", "--dump", "--export-text" or "--import-text"
  const char* argument;      // the folder, file or time after it, never empty
  const char* file;          // --import-text's FILE, or null
  float seconds;             // --at's time, as the intro's clock holds it
};

// The command, or nullopt with the status to end with in `status`: kToolOk
// after printing the help to `out`, kToolUsage after saying on `err` what is
// wrong, followed by the usage.
std::optional<TracksCommand> read_tracks_command(int argc, const char* const argv[], std::FILE* out,
                                                 std::FILE* err, int* status);
