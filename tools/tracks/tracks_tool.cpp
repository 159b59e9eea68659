#include "tools/tracks/tracks_tool.h"

#include <cerrno>
#include <cstring>

#include "tools/tracks/dump_track.h"
#include "tools/tracks/export_tracks.h"
#include "tools/tracks/text_lists.h"
#include "tools/tracks/tracks_command.h"
#include "tools/tracks/values_at.h"

int run_tracks_tool(int argc, const char* const argv[], std::FILE* out, std::FILE* err) {
  int status = kToolUsage;
  const auto command = read_tracks_command(argc, argv, out, err, &status);
  if (!command) return status;
  const std::string& name = command->name;
  const char* argument = command->argument;
  status = name == "--at"            ? print_values_at(command->seconds, out)
           : name == "--export"      ? export_tracks(argument, out, err)
           : name == "--export-text" ? export_text_lists(argument, out, err)
           : name == "--import-text" ? import_text_lists(argument, command->file ? command->file : default_list_source_path(),
                                                         out, err)
                                     : dump_track(argument, out, err);
  // Output that did not arrive is a failure, not a success.
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "velmorand-tracks: cannot write the output: %s\n", std::strerror(errno));
    return kToolFailed;
  }
  return status;
}
