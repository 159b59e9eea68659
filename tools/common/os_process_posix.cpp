#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/common/os_process.h"

extern char** environ;

namespace os {

std::string find_on_path(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

bool spawn(const std::vector<std::string>& argv, bool pipe_input, Child* child, std::string* error) {
  int fds[2] = {-1, -1};
  if (pipe_input && pipe2(fds, O_CLOEXEC) != 0) {
    *error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (pipe_input) posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // The capture ignores SIGPIPE to see a failed child as a failed write; the
  // child gets the usual behaviour back.
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (pipe_input) close(fds[0]);
  if (rc != 0) {
    if (pipe_input) close(fds[1]);
    *error = "cannot start " + argv[0] + ": " + std::strerror(rc);
    return false;
  }
  *child = {pid, pipe_input ? fds[1] : -1};
  return true;
}

bool write_input(Child& child, const void* data, size_t bytes) {
  const char* p = static_cast<const char*>(data);
  while (bytes > 0 && child.input >= 0) {
    ssize_t n = ::write(static_cast<int>(child.input), p, bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    bytes -= static_cast<size_t>(n);
  }
  return bytes == 0;
}

int finish(Child& child) {
  if (child.input >= 0) {
    close(static_cast<int>(child.input));
    child.input = -1;
  }
  int raw = 0;
  while (waitpid(static_cast<pid_t>(child.process), &raw, 0) < 0 && errno == EINTR) {
  }
  child.process = -1;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

namespace {

void (*interruption_handler)() = nullptr;

void on_signal(int) { interruption_handler(); }

void set_interruption_action(void (*action)(int)) {
  struct sigaction a {};
  a.sa_handler = action;
  a.sa_flags = SA_RESTART;
  sigemptyset(&a.sa_mask);
  sigaction(SIGINT, &a, nullptr);
  sigaction(SIGTERM, &a, nullptr);
}

}  // namespace

void catch_interruptions(void (*handler)()) {
  interruption_handler = handler;
  set_interruption_action(on_signal);
  signal(SIGPIPE, SIG_IGN);
}

void release_interruptions() { set_interruption_action(SIG_DFL); }

void exit_at_once(const char* message, int status) {
  [[maybe_unused]] ssize_t ignored = write(STDERR_FILENO, message, std::strlen(message));
  _exit(status);
}

void enable_terminal_escapes() {}

std::string wine_version() { return {}; }

std::string last_error_text() { return std::strerror(errno); }

bool make_folder(const std::string& path, std::string* reason) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  *reason = std::strerror(errno);
  return false;
}

std::string make_unique_file(const std::string& stem, const std::string& suffix, std::string* reason) {
  std::string name = stem + "XXXXXX" + suffix;
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  int fd = mkstemps(buffer.data(), static_cast<int>(suffix.size()));
  if (fd < 0) {
    *reason = std::strerror(errno);
    return {};
  }
  close(fd);
  return buffer.data();
}

}  // namespace os
