#include "tools/preview/live_choreography.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sync/choreography.h"
#include "sync/key_list.h"
#include "tools/preview/console.h"

namespace {

std::optional<std::chrono::system_clock::time_point> modified_at(const std::filesystem::path& path) {
  std::error_code error;
  const auto when = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return std::chrono::file_clock::to_sys(when);
}

std::string keys_text(int count) { return std::to_string(count) + (count == 1 ? " key" : " keys"); }

}  // namespace

std::unique_ptr<LiveChoreography> LiveChoreography::open(const std::string& dir, Console& console,
                                                         std::string* error) {
  // Watching first, so a save during the first reading is not missed.
  auto watch = DirectoryWatch::open(dir, error);
  if (!watch) return nullptr;
  std::unique_ptr<LiveChoreography> live(new LiveChoreography(dir, std::move(watch), console));
  Applied applied;
  for (int i = 0; i < kSyncTrackCount; ++i) live->load(i, &applied);
  console.say("keys of " + std::to_string(applied.tracks.size()) + " of the " + std::to_string(kSyncTrackCount) +
              " tracks from " + dir + ", watching it for saves");
  return live;
}

LiveChoreography::LiveChoreography(std::string dir, std::unique_ptr<DirectoryWatch> watch, Console& console)
    : dir_(std::move(dir)), watch_(std::move(watch)), console_(console) {}

LiveChoreography::Applied LiveChoreography::apply_saved() {
  Applied applied;
  const DirectoryWatch::Saved saved = watch_->poll();
  auto among = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const std::string name = key_list_file_name(track_names[i]);
    std::error_code failure;
    // Saved by replacing it counts as saved: only a list that is gone now is reported gone.
    if (among(saved.removed, name) && !std::filesystem::exists(std::filesystem::path(dir_) / name, failure)) {
      console_.say(name + " was deleted from " + dir_ + "; " + track_names[i] + " keeps its keys");
      continue;
    }
    if ((among(saved.names, name) || saved.overflowed) && load(i, &applied))
      console_.say(name + ": " + keys_text(track_table[i]->key_count) + " swapped in");
  }
  return applied;
}

bool LiveChoreography::load(int track, Applied* applied) {
  const std::string name = key_list_file_name(track_names[track]);
  const std::filesystem::path path = std::filesystem::path(dir_) / name;
  std::error_code absent;
  // A folder holds the lists being changed; the others keep their keys quietly.
  if (!std::filesystem::exists(path, absent)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    console_.say(path.string() + ": cannot be read; " + track_names[track] + " keeps its keys");
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::vector<TrackKey> keys;
  KeyListError error;
  if (!parse_key_list(text, &keys, &error)) {
    console_.say(describe_list_error(path.string(), error) + "; " + track_names[track] + " keeps its keys");
    return false;
  }
  if (!replace_track_keys(track_table[track], keys)) {
    console_.say(path.string() + ": out of memory for its keys; " + track_names[track] + " keeps its keys");
    return false;
  }
  applied->tracks.push_back(track);
  const auto when = modified_at(path);
  if (when && (!applied->saved_at || *when > *applied->saved_at)) applied->saved_at = when;
  return true;
}
