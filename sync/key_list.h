#pragma once
// Key lists in the choreographers' notation, read at run time by the same
// reader that expands the compiled-in lists (sync/choreography_list.h), for
// the author's tools: the preview's live choreography and the text import.
// The intro itself never reads a list at run time.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sync/track.h"

// More keys than any choreography needs; a bracket that would make more is
// refused instead of exhausting memory.
inline constexpr std::size_t kMaxListKeys = 1 << 20;

// Where a list stopped reading: line and column count from 1 (the column in
// bytes), `expected` says what should have stood there.
struct KeyListError {
  int line = 0;
  int column = 0;
  std::string expected;
};

// The keys of a whole list, or false with the place and reason in `error`
// (then `keys` is left empty).
bool parse_key_list(std::string_view text, std::vector<TrackKey>* keys, KeyListError* error);

// The file a track's list is kept in by the author's tools: the name with
// its ':' as '.', then ".keys" ("camera.pos_x.keys"), a name every file
// system takes.
std::string key_list_file_name(const char* track_name);

// "FILE:LINE:COLUMN: EXPECTED", the way compilers report, so editors can jump there.
std::string describe_list_error(const std::string& file, const KeyListError& error);

// Replaces a track's keys with a copy of `keys` (allocated with sync_malloc).
// When memory runs out the track keeps the keys it had and the result is false.
bool replace_track_keys(Track* track, const std::vector<TrackKey>& keys);
