#include "tools/tracks/file_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <span>

#include "tools/common/output_file.h"

bool read_whole_file(const std::string& path, std::string* bytes, std::FILE* err) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(err, "velmorand-tracks: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  bytes->clear();
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) std::fprintf(err, "velmorand-tracks: cannot read %s\n", path.c_str());
  return !failed;
}

bool write_whole_file(const std::string& path, std::string_view bytes, std::FILE* err) {
  std::string error;
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (write_whole_file(path, data, &error)) return true;
  std::fprintf(err, "velmorand-tracks: %s\n", error.c_str());
  return false;
}

bool replace_whole_file(const std::string& path, std::string_view bytes, std::FILE* err) {
  const std::string beside = path + ".new";
  if (!write_whole_file(beside, bytes, err)) {
    std::remove(beside.c_str());
    return false;
  }
  std::error_code error;
  std::filesystem::rename(beside, path, error);
  if (error) {
    std::fprintf(err, "velmorand-tracks: cannot replace %s: %s\n", path.c_str(), error.message().c_str());
    std::remove(beside.c_str());
    return false;
  }
  return true;
}

bool make_folder(const std::string& dir, const char* purpose, std::FILE* err) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error || !std::filesystem::is_directory(dir, error)) {
    std::fprintf(err, "velmorand-tracks: cannot use %s as the %s folder: %s\n", dir.c_str(), purpose,
                 error ? error.message().c_str() : "not a folder");
    return false;
  }
  return true;
}
