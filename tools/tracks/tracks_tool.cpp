#include "tools/tracks/tracks_tool.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "tools/common/argument_values.h"
#include "tools/common/key_list_folder.h"
#include "tools/tracks/dump_track.h"
#include "tools/tracks/export_tracks.h"
#include "tools/tracks/number_text.h"
#include "tools/tracks/plot_command.h"
#include "tools/tracks/text_lists.h"
#include "tools/tracks/tracks_request.h"
#include "tools/tracks/values_at.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmorand-tracks --at SECONDS [--choreography DIR] | --export DIR | --dump FILE\n"
    "                        | --export-text DIR | --import-text DIR [FILE]\n"
    "                        | --plot FILE.svg [--from S] [--to S] [--choreography DIR] | --help\n"
    "\n"
    "  --at SECONDS   print every track's value at that playback time, one\n"
    "                 \"name value\" line each: the 21 tracks at row\n"
    "                 SECONDS x 16 + 0.005, then the six camera tracks at the\n"
    "                 look-ahead row (SECONDS + 1/60) x 16 + 0.005, named\n"
    "                 \"camera:pos_x@look-ahead\" and so on. SECONDS is taken as\n"
    "                 float32, as the intro computes it; values are float32.\n"
    "                 SECONDS is a plain decimal number from 0 to 136.\n"
    "                 With --choreography DIR, the key lists of DIR (as\n"
    "                 --export-text writes them) replace the compiled-in keys\n"
    "                 of their tracks, as velmorand-preview shows them; a list\n"
    "                 that does not read is reported as FILE:LINE:COLUMN (exit 2)\n"
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
    "  --plot FILE.svg [--from S] [--to S] [--choreography DIR]\n"
    "                 draw every track's value against time as an SVG picture:\n"
    "                 a panel per track, grouped by the name's part before the\n"
    "                 colon, keys as dots, each segment with its interpolation,\n"
    "                 the sections as lines; the whole intro, or from S to S;\n"
    "                 the compiled-in keys, or DIR's lists where it has them\n"
    "  --help         show this text\n"
    "\n"
    "--at reads the track files (sync-2F_<encoded name>.track) in the working\n"
    "directory as the intro does, and, as in the intro, the compiled-in keys then\n"
    "replace what they hold: track files change no value.\n"
    "\n"
    "Exit status: 0 success, 1 the file could not be read or written or is\n"
    "malformed, 2 bad arguments or a key list that does not read.\n";

int usage_error(std::FILE* err, const std::string& message) {
  std::fprintf(err, "velmorand-tracks: %s (velmorand-tracks --help lists the options)\n", message.c_str());
  return kToolUsage;
}

int run_at(const TracksRequest& request, std::FILE* out, std::FILE* err) {
  // Read as the other tools read a time, then narrowed as the intro's clock is.
  const std::string& argument = request.arguments[0];
  const auto seconds = parse_seconds(argument);
  if (!seconds) {
    return usage_error(err, "--at needs a number of seconds, not '" + argument +
                                "': a playback time of 0 or more, at most 136 (like 12.5)");
  }
  KeyListFolder lists;
  std::string error;
  if (request.choreography && !read_key_list_folder(*request.choreography, &lists, &error)) {
    std::fprintf(err, "%s\n", error.c_str());
    return kToolUsage;
  }
  return print_values_at(static_cast<float>(*seconds), request.choreography ? &lists : nullptr, out, err);
}

int run_command(const TracksRequest& request, std::FILE* out, std::FILE* err) {
  const std::string& command = request.command;
  const std::string& argument = request.arguments.empty() ? std::string() : request.arguments[0];
  if (command == "--help") {
    std::fputs(kUsage, out);
    return kToolOk;
  }
  if (command == "--at") return run_at(request, out, err);
  if (command == "--export") return export_tracks(argument, out, err);
  if (command == "--export-text") return export_text_lists(argument, out, err);
  if (command == "--import-text")
    return import_text_lists(
        argument, request.arguments.size() > 1 ? request.arguments[1] : default_list_source_path(), out, err);
  return dump_track(argument.c_str(), out, err);
}

}  // namespace

int run_tracks_tool(int argc, const char* const argv[], std::FILE* out, std::FILE* err) {
  if (argc > 1 && std::string(argv[1]) == "--plot") return run_plot(argc, argv, out, err);
  std::string error;
  const auto request = parse_tracks_request(argc, argv, &error);
  if (!request) return usage_error(err, error);
  const int status = run_command(*request, out, err);
  // Output that did not arrive is a failure, not a success.
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "velmorand-tracks: cannot write the output: %s\n", std::strerror(errno));
    return kToolFailed;
  }
  return status;
}
