#pragma once
// The capture's progress on stderr: frames done of the total, frames per
// second, time spent and time left. On a terminal it is one line rewritten in
// place; into a file or a pipe it is a plain line every few seconds, so logs
// stay readable.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class ProgressLine {
 public:
  // `what` names the count: "frame" for the capture's own, "replayed frame"
  // for the earlier frames that only rebuild carried effects.
  ProgressLine(int64_t total_frames, std::FILE* out, std::string what = "frame");
  void frame_done();
  // The last state as a plain line (also after an interruption).
  void finish();

  // "frame 120/4080, 3.2 fps, 0:37 elapsed, 20:36 left", for the numbers given.
  static std::string text(int64_t done, int64_t total, double elapsed_seconds, const std::string& what = "frame");

 private:
  void print(bool final_line);

  std::FILE* out_;
  std::string what_;
  bool terminal_;
  int64_t total_;
  int64_t done_ = 0;
  int64_t printed_ = -1;  // the count the last line showed
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_print_;
};
