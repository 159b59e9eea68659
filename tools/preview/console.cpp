#include "tools/preview/console.h"

#include <unistd.h>

namespace {

constexpr const char* kPrefix = "velmorand-preview: ";
constexpr const char* kClearLine = "\r\033[K";

}  // namespace

Console::Console(std::FILE* out) : out_(out), terminal_(isatty(fileno(out)) != 0) {}

Console::~Console() {
  if (terminal_ && !status_.empty()) std::fputc('\n', out_);
}

void Console::say(const std::string& message) {
  if (terminal_ && !status_.empty())
    std::fprintf(out_, "%s%s%s\n%s%s", kClearLine, kPrefix, message.c_str(), kPrefix, status_.c_str());
  else std::fprintf(out_, "%s%s\n", kPrefix, message.c_str());
  std::fflush(out_);
}

void Console::status(const std::string& text) {
  status_ = text;
  if (terminal_) std::fprintf(out_, "%s%s%s", kClearLine, kPrefix, text.c_str());
  else std::fprintf(out_, "%s%s\n", kPrefix, text.c_str());
  std::fflush(out_);
}
