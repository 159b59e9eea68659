#pragma once
// The 21 tracks as a run of the intro holds them, without the rest of the
// intro: the start-up's registry with the compiled-in keys (track files in
// the working directory are read and then replaced, as in the intro), and an
// author's key lists laid over them when a folder is given. track_table
// points at them while the object lives.
#include "tools/common/key_list_folder.h"

struct TrackRegistry;

class ChoreographyTracks {
 public:
  explicit ChoreographyTracks(const KeyListFolder* lists);
  ~ChoreographyTracks();
  ChoreographyTracks(const ChoreographyTracks&) = delete;
  ChoreographyTracks& operator=(const ChoreographyTracks&) = delete;

  // False when memory ran out while the lists were laid over.
  bool ok() const { return ok_; }

 private:
  TrackRegistry* registry_;
  bool ok_;
};
