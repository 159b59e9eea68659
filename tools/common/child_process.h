#pragma once
// Running another program (ffmpeg) from the capture tool.

#include <memory>
#include <string>
#include <vector>

#include "tools/common/os_process.h"

// The full path of an executable found on PATH, or empty.
std::string find_on_path(const std::string& name);

class ChildProcess {
 public:
  // Starts argv[0] from PATH in a process group of its own: a Ctrl-C at the
  // terminal then reaches only the capture tool, which ends the child's input
  // in order, instead of killing the child halfway through a file. With
  // `pipe_input`, write() feeds its standard input.
  static std::unique_ptr<ChildProcess> start(const std::vector<std::string>& argv, bool pipe_input,
                                             std::string* error);
  ~ChildProcess();

  // False when the child no longer reads (it has failed or exited).
  bool write(const void* data, size_t bytes);

  // Ends the input, waits, and returns the exit status (128 + signal when a
  // signal ended it).
  int finish();

 private:
  explicit ChildProcess(os::Child child) : child_(child) {}
  os::Child child_;
  bool finished_ = false;
  int status_ = 0;
};

// Starts a program without input and waits for it; its exit status, or -1
// with a message when it cannot start.
int run_program(const std::vector<std::string>& argv, std::string* error);
