#include "tools/tracks/plot_command.h"

#include <optional>
#include <string>
#include <vector>

#include "src/pass_schedule.h"
#include "sync/choreography.h"
#include "tools/common/argument_values.h"
#include "tools/common/choreography_tracks.h"
#include "tools/common/key_list_folder.h"
#include "tools/tracks/file_io.h"
#include "tools/tracks/plot_svg.h"
#include "tools/tracks/tracks_tool.h"

namespace {

int plot_error(std::FILE* err, const std::string& message) {
  std::fprintf(err, "velmorand-tracks: %s (velmorand-tracks --help lists the options)\n", message.c_str());
  return kToolUsage;
}

bool ends_with_svg(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".svg") == 0;
}

}  // namespace

int run_plot(int argc, const char* const argv[], std::FILE* out, std::FILE* err) {
  if (argc < 3 || !ends_with_svg(argv[2])) return plot_error(err, "--plot needs a FILE.svg to write");
  PlotRequest request;
  request.to = kIntroSeconds;
  request.section_rows.assign(kSectionRows.begin(), kSectionRows.end());
  std::optional<std::string> choreography;
  bool from_given = false, to_given = false;
  for (int i = 3; i < argc; ++i) {
    OptionWord word = split_option(argv[i]);
    const bool lists = word.name == "--choreography";
    if (word.name != "--from" && word.name != "--to" && !lists)
      return plot_error(err, "unknown argument '" + word.name + "'");
    bool& given = word.name == "--from" ? from_given : to_given;
    if (lists ? choreography.has_value() : given) return plot_error(err, word.name + " is given twice");
    if (!word.value && i + 1 < argc) word.value = argv[++i];
    if (lists) {
      if (!word.value || word.value->empty()) return plot_error(err, "--choreography needs a folder");
      choreography = *word.value;
      continue;
    }
    given = true;
    const auto seconds = word.value ? parse_seconds(*word.value) : std::nullopt;
    if (!seconds) return plot_error(err, word.name + std::string(" needs ") + kSecondsHint);
    (word.name == "--from" ? request.from : request.to) = *seconds;
  }
  if (request.from >= request.to) return plot_error(err, "--from must come before --to");
  KeyListFolder folder;
  std::string error;
  if (choreography && !read_key_list_folder(*choreography, &folder, &error)) {
    std::fprintf(err, "%s\n", error.c_str());
    return kToolUsage;
  }
  // The intro's start-up, with the folder's lists laid over it as the player does.
  ChoreographyTracks keys(choreography ? &folder : nullptr);
  if (!keys.ok()) {
    std::fprintf(err, "velmorand-tracks: out of memory while laying the lists over the tracks\n");
    return kToolFailed;
  }
  request.subtitle = choreography ? "the lists of " + *choreography + " over the compiled-in keys"
                                  : "the compiled-in keys";
  const std::vector<const Track*> tracks(track_table, track_table + kSyncTrackCount);
  const bool written = write_whole_file(argv[2], plot_svg(tracks, request), err);
  if (!written) return kToolFailed;
  std::fprintf(out, "wrote %s (%d tracks, %g to %g s)\n", argv[2], kSyncTrackCount, request.from, request.to);
  return kToolOk;
}
