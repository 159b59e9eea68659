#pragma once
// What a backend keeps of its failed creations: each is said on stderr when
// it happens, and the first is kept for Device::first_failure().
#include <cstdio>
#include <string>

namespace gpu {

class CreationFailures {
 public:
  void report(std::string message) {
    std::fprintf(stderr, "gpu: %s\n", message.c_str());
    if (first_.empty()) first_ = std::move(message);
  }
  const std::string& first() const { return first_; }

 private:
  std::string first_;
};

}  // namespace gpu
