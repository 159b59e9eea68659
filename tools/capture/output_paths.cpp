#include "tools/capture/output_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "tools/common/os_process.h"

namespace {

std::string time_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%07.3f", seconds);
  return text;
}

// Why creating an entry in `folder` failed with `error_number`. Some file
// systems (/proc, /sys) answer "no such file" for a folder that is there.
std::string creation_failure(const std::string& folder, int error_number) {
  struct stat st;
  if (error_number == ENOENT && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    return "the file system of " + folder + " takes no new files";
  return std::strerror(error_number);
}

// Creates and removes a probe file: the only test of writability that also
// holds for root, read-only mounts and full directories.
bool can_create_in(const std::string& folder, std::string* error) {
  std::string probe = folder + "/.velmorand-capture-probe-" + std::to_string(getpid());
  int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) {
    const int error_number = errno;
    *error = "cannot write to " + folder + ": " + creation_failure(folder, error_number);
    return false;
  }
  close(fd);
  unlink(probe.c_str());
  return true;
}

bool make_folder(const std::string& folder, std::string* error) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    *error = folder + " exists and is not a folder";
    return false;
  }
  std::string reason;
  if (os::make_folder(folder, &reason)) return true;
  *error = "cannot create the folder " + folder + ": " + reason;
  return false;
}

// "out/" names the same folder as "out": its files are "out/name", not "out//name".
std::string in_folder(const std::string& folder, const std::string& name) {
  const bool ends_in_separator = !folder.empty() && std::strchr(os::kPathSeparators, folder.back()) != nullptr;
  return folder + (ends_in_separator ? "" : "/") + name;
}

}  // namespace

std::string parent_folder(const std::string& path) {
  size_t slash = path.find_last_of(os::kPathSeparators);
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string frame_png_path(const std::string& folder, long long frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06lld.png", frame);
  return in_folder(folder, name);
}

bool still_png_paths(const CaptureOptions& options, std::vector<std::string>* paths, std::string* error) {
  std::set<std::string> seen;
  paths->clear();
  for (double t : options.at) {
    std::string path = options.kind == OutputKind::Stills
                           ? options.out.substr(0, options.out.size() - 4) + "_" + time_text(t) + ".png"
                           : in_folder(options.out, "at_" + time_text(t) + ".png");
    if (!seen.insert(path).second) {
      *error = "two --at times share the file name " + path + " (names keep milliseconds)";
      return false;
    }
    paths->push_back(path);
  }
  return true;
}

bool prepare_output(const CaptureOptions& options, std::string* error) {
  if (options.kind == OutputKind::Folder)
    return make_folder(options.out, error) && can_create_in(options.out, error);
  struct stat st;
  if (stat(options.out.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    *error = options.out + " is a folder; give a file name";
    return false;
  }
  if (options.kind == OutputKind::Video && access(options.out.c_str(), F_OK) == 0) {
    int fd = open(options.out.c_str(), O_WRONLY);
    if (fd < 0) {
      *error = "cannot write " + options.out + ": " + std::strerror(errno);
      return false;
    }
    close(fd);
  }
  return can_create_in(parent_folder(options.out), error);
}
