#include "tools/common/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {
// Windows opens files in text mode unless told otherwise, which would turn
// every 0x0A byte of a PNG into two.
#ifdef _WIN32
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_TRUNC | O_BINARY;
#else
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
#endif
}  // namespace

OutputFile::~OutputFile() {
  if (fd_ < 0) return;
  ::close(fd_);
  if (regular_) unlink(path_.c_str());
}

bool OutputFile::open(const std::string& path, std::string* error) {
  path_ = path;
  fd_ = ::open(path.c_str(), kCreateFlags, 0644);
  if (fd_ < 0) return fail(errno, error);
  struct stat st;
  regular_ = fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
  return true;
}

bool OutputFile::fail(int error_number, std::string* error) {
  *error = "cannot write " + path_ + ": " + std::strerror(error_number);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (regular_) unlink(path_.c_str());
  return false;
}

bool OutputFile::write(const void* data, std::size_t bytes, std::string* error) {
  if (fd_ < 0) return false;
  const char* p = static_cast<const char*>(data);
  while (bytes > 0) {
    ssize_t n = ::write(fd_, p, bytes);
    if (n < 0 && errno == EINTR) continue;
    // A write that takes nothing without an error is a full device all the same.
    if (n <= 0) return fail(n < 0 ? errno : ENOSPC, error);
    p += n;
    bytes -= static_cast<std::size_t>(n);
  }
  return true;
}

bool OutputFile::close(std::string* error) {
  if (fd_ < 0) return false;
  const int fd = std::exchange(fd_, -1);
  return ::close(fd) == 0 || fail(errno, error);
}

bool write_whole_file(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error) {
  OutputFile file;
  return file.open(path, error) && file.write(bytes.data(), bytes.size(), error) && file.close(error);
}
