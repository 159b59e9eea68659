#include "tools/common/key_list_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sync/key_list.h"

namespace fs = std::filesystem;

namespace {

bool names_a_track(const std::string& file) {
  for (const char* name : track_names)
    if (key_list_file_name(name) == file) return true;
  return false;
}

// The ".keys" files that no track reads.
std::string strays(const std::string& dir) {
  std::string found;
  std::error_code failure;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, failure)) {
    const fs::path& path = entry.path();
    if (path.extension() == ".keys" && !names_a_track(path.filename().string()))
      found += path.string() + ": names no track (the 21 names are those velmorand-tracks --export-text writes)\n";
  }
  return found;
}

// One track's list: nullopt and nothing said when the file is absent.
std::optional<std::vector<TrackKey>> read_list(const fs::path& path, std::string* problems) {
  std::error_code failure;
  if (!fs::exists(path, failure)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in || fs::is_directory(path, failure)) {
    *problems += path.string() + ": cannot be read\n";
    return std::nullopt;
  }
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::vector<TrackKey> keys;
  KeyListError error;
  if (!parse_key_list(text, &keys, &error)) {
    *problems += describe_list_error(path.string(), error) + "\n";
    return std::nullopt;
  }
  return keys;
}

}  // namespace

int KeyListFolder::list_count() const {
  int count = 0;
  for (const auto& list : lists) count += list.has_value();
  return count;
}

bool read_key_list_folder(const std::string& dir, KeyListFolder* folder, std::string* error) {
  std::error_code failure;
  if (!fs::is_directory(dir, failure)) {
    *error = dir + ": no such folder (velmorand-tracks --export-text " + dir + " writes the 21 lists)";
    return false;
  }
  folder->dir = dir;
  std::string problems = strays(dir);
  for (int i = 0; i < kSyncTrackCount; ++i)
    folder->lists[i] = read_list(fs::path(dir) / key_list_file_name(track_names[i]), &problems);
  if (problems.empty() && folder->list_count() == 0)
    problems = dir + ": holds none of the 21 key lists (camera.pos_x.keys ...)\n";
  if (problems.empty()) return true;
  problems.pop_back();
  *error = problems;
  return false;
}

bool lay_over_tracks(const KeyListFolder& folder) {
  for (int i = 0; i < kSyncTrackCount; ++i)
    if (folder.lists[i] && !replace_track_keys(track_table[i], *folder.lists[i])) return false;
  return true;
}
