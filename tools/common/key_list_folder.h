#pragma once
// An author's folder of key lists (the files sync/key_list.h names), for the
// tools that render or evaluate the choreography offline. The folder is read
// whole before anything slow starts, and laid over the tracks after the
// start-up has installed the compiled-in keys, exactly where the player swaps
// in a saved list: a tool given the folder shows what the player shows with it.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "sync/choreography.h"
#include "sync/track.h"

struct KeyListFolder {
  std::string dir;
  // In the order of track_names; nullopt where the folder holds no list for
  // the track, which then keeps its compiled-in keys.
  std::array<std::optional<std::vector<TrackKey>>, kSyncTrackCount> lists;

  int list_count() const;
};

// Reads every list of `dir`. False, with one line per problem in `error`,
// when the folder cannot be read or holds none of the 21 lists, when a list
// does not read ("FILE:LINE:COLUMN: expected ..."), or when a ".keys" file
// names no track (a misspelt name would otherwise be dropped unnoticed).
bool read_key_list_folder(const std::string& dir, KeyListFolder* folder, std::string* error);

// Gives each track of track_table that the folder has a list for those keys.
// False when memory runs out (the tracks then hold a mix: stop the run).
bool lay_over_tracks(const KeyListFolder& folder);
