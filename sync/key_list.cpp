#include "sync/key_list.h"

#include <cstring>

#include "sync/choreography_list.h"
#include "sync/memory.h"

namespace {

void locate(std::string_view text, std::size_t offset, KeyListError* error) {
  error->line = 1;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++error->line;
      line_start = i + 1;
    }
  }
  error->column = static_cast<int>(offset - line_start) + 1;
}

}  // namespace

bool parse_key_list(std::string_view text, std::vector<TrackKey>* keys, KeyListError* error) {
  keys->clear();
  auto take = [keys](std::int32_t row, float value, std::int32_t code) -> const char* {
    if (keys->size() >= kMaxListKeys) return "expected at most 1048576 keys in one list";
    keys->push_back(TrackKey{row, value, static_cast<Interpolation>(code)});
    return nullptr;
  };
  choreography::ListReader reader{text};
  if (choreography::read_list(reader, take)) return true;
  keys->clear();
  locate(text, reader.error_at, error);
  error->expected = reader.error;
  return false;
}

std::string key_list_file_name(const char* track_name) {
  std::string name = track_name;
  for (char& c : name)
    if (c == ':') c = '.';
  return name + ".keys";
}

std::string describe_list_error(const std::string& file, const KeyListError& error) {
  return file + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) + ": " + error.expected;
}

bool replace_track_keys(Track* track, const std::vector<TrackKey>& keys) {
  TrackKey* copy = nullptr;
  if (!keys.empty()) {
    copy = static_cast<TrackKey*>(sync_malloc(keys.size() * sizeof(TrackKey)));
    if (copy == nullptr) return false;
    std::memcpy(copy, keys.data(), keys.size() * sizeof(TrackKey));
  }
  sync_free(track->keys);
  track->keys = copy;
  track->key_count = static_cast<std::int32_t>(keys.size());
  return true;
}
