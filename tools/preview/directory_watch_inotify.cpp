#include "tools/preview/directory_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

struct DirectoryWatch::System {
  int fd;
};

DirectoryWatch::DirectoryWatch(std::unique_ptr<System> system) : system_(std::move(system)) {}

std::unique_ptr<DirectoryWatch> DirectoryWatch::open(const std::string& dir, std::string* error) {
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    *error = std::string("cannot start inotify: ") + std::strerror(errno);
    return nullptr;
  }
  if (inotify_add_watch(fd, dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_ONLYDIR) <
      0) {
    *error = "cannot watch " + dir + ": " + std::strerror(errno);
    close(fd);
    return nullptr;
  }
  return std::unique_ptr<DirectoryWatch>(new DirectoryWatch(std::make_unique<System>(fd)));
}

DirectoryWatch::~DirectoryWatch() { close(system_->fd); }

DirectoryWatch::Saved DirectoryWatch::poll() {
  Saved saved;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t got = read(system_->fd, buffer, sizeof buffer);
    if (got <= 0) break;  // EAGAIN: nothing more waiting
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->mask & IN_Q_OVERFLOW) saved.overflowed = true;
      if (event->len > 0) {
        std::string name(event->name);
        auto& names = event->mask & (IN_DELETE | IN_MOVED_FROM) ? saved.removed : saved.names;
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return saved;
}
