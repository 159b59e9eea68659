#include "tools/capture/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

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

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv,
                                                  bool pipe_input, std::string* error) {
  int fds[2] = {-1, -1};
  if (pipe_input && pipe2(fds, O_CLOEXEC) != 0) {
    *error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return nullptr;
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
    return nullptr;
  }
  return std::unique_ptr<ChildProcess>(new ChildProcess(pid, pipe_input ? fds[1] : -1));
}

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::write(const void* data, size_t bytes) {
  const char* p = static_cast<const char*>(data);
  while (bytes > 0 && input_ >= 0) {
    ssize_t n = ::write(input_, p, bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    bytes -= static_cast<size_t>(n);
  }
  return bytes == 0;
}

int ChildProcess::finish() {
  if (input_ >= 0) {
    close(input_);
    input_ = -1;
  }
  if (status_ >= 0) return status_;
  int raw = 0;
  while (waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
  }
  status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return status_;
}

int run_program(const std::vector<std::string>& argv, std::string* error) {
  auto child = ChildProcess::start(argv, false, error);
  return child ? child->finish() : -1;
}
