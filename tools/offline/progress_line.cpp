#include "tools/offline/progress_line.h"

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string clock_text(double seconds) {
  long s = static_cast<long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  else std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
  return text;
}

double seconds_between(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

}  // namespace

ProgressLine::ProgressLine(int64_t total_frames, std::FILE* out, std::string what)
    : out_(out),
      what_(std::move(what)),
      terminal_(isatty(fileno(out)) != 0),
      total_(total_frames),
      start_(Clock::now()),
      last_print_(start_) {}

std::string ProgressLine::text(int64_t done, int64_t total, double elapsed, const std::string& what) {
  double fps = elapsed > 0 ? done / elapsed : 0.0;
  std::string left = fps > 0 ? clock_text((total - done) / fps) : "?";
  char text[160];
  std::snprintf(text, sizeof text, "%s %lld/%lld, %.1f fps, %s elapsed, %s left", what.c_str(),
                static_cast<long long>(done), static_cast<long long>(total), fps, clock_text(elapsed).c_str(),
                left.c_str());
  return text;
}

void ProgressLine::frame_done() {
  ++done_;
  double since_last = seconds_between(last_print_, Clock::now());
  if (since_last >= (terminal_ ? 0.1 : 5.0) || done_ == 1) print(false);
}

void ProgressLine::finish() {
  // A plain line already showing the last state is not repeated.
  if (terminal_ || printed_ != done_) print(true);
}

void ProgressLine::print(bool final_line) {
  last_print_ = Clock::now();
  printed_ = done_;
  std::string line = text(done_, total_, seconds_between(start_, last_print_), what_);
  if (terminal_) std::fprintf(out_, "\r\033[Kvelmorand-capture: %s%s", line.c_str(), final_line ? "\n" : "");
  else std::fprintf(out_, "velmorand-capture: %s\n", line.c_str());
  std::fflush(out_);
}
