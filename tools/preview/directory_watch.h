#pragma once
// The files saved into one folder (inotify on Linux, ReadDirectoryChangesW on
// Windows): a file written and closed, or moved in (how many editors save),
// is reported once per poll; so is a file deleted or moved out.
#include <memory>
#include <string>
#include <vector>

class DirectoryWatch {
 public:
  // Null, with the reason in `error`, when the folder cannot be watched.
  static std::unique_ptr<DirectoryWatch> open(const std::string& dir, std::string* error);
  ~DirectoryWatch();
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;

  struct Saved {
    std::vector<std::string> names;    // each once, in the order first saved
    std::vector<std::string> removed;  // each once; an editor's save may remove and write the same name
    bool overflowed = false;           // the kernel dropped events: anything may have changed
  };
  // What was saved since the previous call; never waits.
  Saved poll();

 private:
  struct System;  // what the operating system's watch needs
  explicit DirectoryWatch(std::unique_ptr<System> system);
  std::unique_ptr<System> system_;
};
