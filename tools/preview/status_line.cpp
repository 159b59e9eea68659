#include "tools/preview/status_line.h"

#include <cstdio>
#include <map>

#include "src/frame_clock.h"

namespace {

// A pass drawn several times a frame (the bloom levels) counts as one.
std::string slowest_pass(const std::vector<gpu::PassTiming>& timings) {
  std::map<std::string, double> by_label;
  for (const gpu::PassTiming& t : timings) by_label[t.label] += t.milliseconds;
  const std::pair<const std::string, double>* slowest = nullptr;
  for (const auto& entry : by_label)
    if (!slowest || entry.second > slowest->second) slowest = &entry;
  if (!slowest) return "slowest pass -";
  char text[96];
  std::snprintf(text, sizeof text, "slowest %s %.1f ms", slowest->first.c_str(), slowest->second);
  return text;
}

}  // namespace

std::string status_text(const StatusFields& f) {
  const int32_t row = whole_row(f.position);
  const int section = section_number(row);
  char text[192];
  std::snprintf(text, sizeof text, "%.3f s | row %d | bar %d.%d | section %d (row %d) | %s",
                samples_to_seconds(f.position), row, row / kRowsPerBar, row % kRowsPerBar / kRowsPerBeat + 1,
                section, kSectionRows[section - 1], f.paused ? "paused" : "playing");
  std::string out = text;
  if (f.replay_total > 0)
    out += " | replaying " + std::to_string(f.replayed) + " of " + std::to_string(f.replay_total) + " frames";
  if (f.loop.start >= 0 || f.loop.end >= 0) {
    // A mark not set yet shows as "?", not as -1.
    auto mark = [](int32_t row) { return row >= 0 ? std::to_string(row) : std::string("?"); };
    out += " | loop " + mark(f.loop.start) + "-" + mark(f.loop.end) + (f.loop.on ? " on" : " off");
  }
  std::snprintf(text, sizeof text, " | %.1f fps | ", f.fps);
  return out + text + slowest_pass(f.timings);
}

double StatusRefresh::fps(long frames_drawn, Clock::time_point now) const {
  const double seconds = std::chrono::duration<double>(now - last_).count();
  return seconds > 0 ? (frames_drawn - frames_at_last_) / seconds : 0.0;
}

std::optional<std::string> StatusRefresh::take(const std::string& text, long frames_drawn, Clock::time_point now) {
  last_ = now;
  frames_at_last_ = frames_drawn;
  if (text == shown_) return std::nullopt;
  shown_ = text;
  return text;
}
