#pragma once
// The choreography from an author's folder of key lists (sync/key_list.h
// names the files), kept live: a list saved into the folder is read again at
// once and, when it reads, its track's keys are swapped in; a list that does
// not read is reported where it stops, and its track keeps the last keys that
// did (at the start, the compiled-in ones).
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/preview/directory_watch.h"

class Console;

class LiveChoreography {
 public:
  // Reads every list of `dir` into the tracks and starts watching it; null,
  // with the reason in `error`, when the folder cannot be watched.
  static std::unique_ptr<LiveChoreography> open(const std::string& dir, Console& console, std::string* error);

  struct Applied {
    std::vector<int> tracks;  // positions in track_table of the tracks whose keys were swapped
    std::optional<std::chrono::system_clock::time_point> saved_at;  // the latest of their saves
  };
  // Reads the lists saved since the previous call.
  Applied apply_saved();

 private:
  LiveChoreography(std::string dir, std::unique_ptr<DirectoryWatch> watch, Console& console);
  bool load(int track, Applied* applied);

  std::string dir_;
  std::unique_ptr<DirectoryWatch> watch_;
  Console& console_;
};
