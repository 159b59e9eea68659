#include "tools/tracks/text_lists.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sync/choreography.h"
#include "sync/key_list.h"
#include "tools/tracks/file_io.h"
#include "tools/tracks/list_source.h"
#include "tools/tracks/tracks_tool.h"

namespace {

std::string path_in(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

// One track's list from the folder; false after saying what is wrong.
bool read_list_text(const std::string& dir, int track, ListText* list, std::FILE* err) {
  const std::string path = path_in(dir, key_list_file_name(track_names[track]));
  if (!read_whole_file(path, &list->text, err)) return false;
  std::vector<TrackKey> keys;
  KeyListError error;
  if (!parse_key_list(list->text, &keys, &error)) {
    std::fprintf(err, "%s\n", describe_list_error(path, error).c_str());
    return false;
  }
  list->key_count = static_cast<int>(keys.size());
  return true;
}

bool already_holds(const std::string& path, const std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string held{std::istreambuf_iterator<char>(in), {}};
  return held == bytes;
}

}  // namespace

std::string default_list_source_path() { return VELMORAND_SOURCE_DIR "/sync/choreography_lists.h"; }

int export_text_lists(const std::string& dir, std::FILE* out, std::FILE* err) {
  if (!make_folder(dir, "export", err)) return kToolFailed;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const std::string path = path_in(dir, key_list_file_name(track_names[i]));
    if (!write_whole_file(path, compiled_tracks[i].list, err)) return kToolFailed;
    std::fprintf(out, "%s %d keys\n", path.c_str(), compiled_tracks[i].key_count);
  }
  return kToolOk;
}

int import_text_lists(const std::string& dir, const std::string& source_file, std::FILE* out, std::FILE* err) {
  std::error_code failure;
  if (!std::filesystem::is_directory(dir, failure)) {
    // One line, not one "cannot open" per track.
    std::fprintf(
        err,
        "velmorand-tracks: %s is not a folder of key lists (--export-text %s writes one); %s is left as it was\n",
        dir.c_str(), dir.c_str(), source_file.c_str());
    return kToolFailed;
  }
  std::array<ListText, kSyncTrackCount> lists;
  int failed = 0, total = 0;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    if (!read_list_text(dir, i, &lists[i], err)) ++failed;
    total += lists[i].key_count;
  }
  if (failed > 0) {
    std::fprintf(err, "velmorand-tracks: %d of the %d lists did not read; %s is left as it was\n", failed,
                 kSyncTrackCount, source_file.c_str());
    return kToolFailed;
  }
  const std::string source = list_source(lists);
  if (already_holds(source_file, source)) {
    std::fprintf(out, "%s already holds these %d keys\n", source_file.c_str(), total);
    return kToolOk;
  }
  if (!replace_whole_file(source_file, source, err)) return kToolFailed;
  std::fprintf(out, "wrote %s: %d lists, %d keys; rebuild to make them the intro's keys\n", source_file.c_str(),
               kSyncTrackCount, total);
  return kToolOk;
}
