#include "tools/common/child_process.h"

std::string find_on_path(const std::string& name) { return os::find_on_path(name); }

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv, bool pipe_input,
                                                  std::string* error) {
  os::Child child;
  if (!os::spawn(argv, pipe_input, &child, error)) return nullptr;
  return std::unique_ptr<ChildProcess>(new ChildProcess(child));
}

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::write(const void* data, size_t bytes) { return os::write_input(child_, data, bytes); }

int ChildProcess::finish() {
  if (!finished_) status_ = os::finish(child_);
  finished_ = true;
  return status_;
}

int run_program(const std::vector<std::string>& argv, std::string* error) {
  auto child = ChildProcess::start(argv, false, error);
  return child ? child->finish() : -1;
}
