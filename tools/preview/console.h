#pragma once
// The player's stderr: messages, one line each, and the status line, which a
// terminal shows rewritten in place under the messages and a file or pipe
// gets as a line each time.
#include <cstdio>
#include <string>

class Console {
 public:
  explicit Console(std::FILE* out);
  ~Console();  // ends a status line a terminal shows, so the shell's prompt starts afresh
  void say(const std::string& message);
  void status(const std::string& text);

 private:
  std::FILE* out_;
  bool terminal_;
  std::string status_;  // what a terminal shows on its last line
};
