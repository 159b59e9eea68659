#pragma once
// A file the tools write, whole or not at all: every write and the close are
// checked, and on any failure the partial file is removed and the message
// names the file and the reason. Nothing is claimed written that was not.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // A file that was never closed did not get all its bytes: it is removed.
  ~OutputFile();

  // Creates or truncates `path`.
  bool open(const std::string& path, std::string* error);
  bool write(const void* data, std::size_t bytes, std::string* error);
  // True only when every byte reached the file and it closed cleanly.
  bool close(std::string* error);

 private:
  bool fail(int error_number, std::string* error);

  std::string path_;
  int fd_ = -1;
  bool regular_ = false;  // only a regular file is removed on failure, never a device
};

// The whole of `bytes` as the file `path`.
bool write_whole_file(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error);
