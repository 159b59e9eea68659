#include "tools/tracks/tracks_command.h"

#include <string>

#include "tools/common/argument_values.h"
#include "tools/tracks/tracks_tool.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmorand-tracks --at SECONDS | --export DIR | --dump FILE\n"
    "                        | --export-text DIR | --import-text DIR [FILE] | --help\n"
    "\n"
    "  --at SECONDS   print every track's value at that playback time, one\n"
    "                 \"name value\" line each: the 21 tracks at row\n"
    "                 SECONDS x 16 + 0.005, then the six camera tracks at the\n"
    "                 look-ahead row (SECONDS + 1/60) x 16 + 0.005, named\n"
    "                 \"camera:pos_x@look-ahead\" and so on. SECONDS is taken as\n"
    "                 float32, as the intro computes it; values are float32.\n"
    "                 SECONDS is a plain decimal number from 0 to 136.\n"
    "  --export DIR   write the compiled-in keys as the 21 track files\n"
    "                 (sync-2F_<encoded name>.track) into DIR, creating it\n"
    "  --dump FILE    print a track file's keys as \"row: value (code) mode\"\n"
    "                 lines, or say exactly why it is malformed\n"
    "  --export-text DIR\n"
    "                 write the compiled-in key lists as 21 text files\n"
    "                 (camera.pos_x.keys ...) into DIR, creating it, in the\n"
    "                 notation of the compiled-in lists\n"
    "  --import-text DIR [FILE]\n"
    "                 check the 21 lists in DIR and, when all of them read,\n"
    "                 write them as the compiled-in source FILE (by default\n"
    "                 sync/choreography_lists.h of the tree this tool was\n"
    "                 built from); errors as FILE:LINE:COLUMN: what was expected\n"
    "  --help         show this text\n"
    "\n"
    "--at reads the track files (sync-2F_<encoded name>.track) in the working\n"
    "directory, as the intro does.\n"
    "\n"
    "Exit status: 0 success, 1 the file could not be read or written or is\n"
    "malformed, 2 bad arguments.\n";

int usage_error(std::FILE* err, const std::string& message) {
  std::fprintf(err, "velmorand-tracks: %s\n%s", message.c_str(), kUsage);
  return kToolUsage;
}

}  // namespace

std::optional<TracksCommand> read_tracks_command(int argc, const char* const argv[], std::FILE* out,
                                                 std::FILE* err, int* status) {
  *status = kToolUsage;
  if (argc < 2) return usage_error(err, "no command given"), std::nullopt;
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    if (argc > 2) return usage_error(err, "--help takes no argument"), std::nullopt;
    std::fputs(kUsage, out);
    *status = kToolOk;
    return std::nullopt;
  }
  if (command != "--at" && command != "--export" && command != "--dump" && command != "--export-text" &&
      command != "--import-text") {
    return usage_error(err, "unknown option '" + command + "'"), std::nullopt;
  }
  if (argc < 3) return usage_error(err, command + " needs an argument"), std::nullopt;
  const int most = command == "--import-text" ? 4 : 3;
  if (argc > most) return usage_error(err, std::string("unexpected argument '") + argv[most] + "'"), std::nullopt;
  for (int i = 2; i < argc; ++i)
    if (*argv[i] == '\0') return usage_error(err, command + " needs a non-empty argument"), std::nullopt;
  TracksCommand read{command, argv[2], argc > 3 ? argv[3] : nullptr, 0.0f};
  if (command == "--at") {
    // Read as the other tools read a time, then narrowed as the intro's clock is.
    const auto seconds = parse_seconds(argv[2]);
    if (!seconds) {
      return usage_error(err, std::string("--at needs a number of seconds, not '") + argv[2] +
                                  "': a playback time of 0 or more, at most 136 (like 12.5)"),
             std::nullopt;
    }
    read.seconds = static_cast<float>(*seconds);
  }
  *status = kToolOk;
  return read;
}
