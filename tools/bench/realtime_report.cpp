#include "tools/bench/realtime_report.h"

#include <cstdio>

namespace {

std::string format(const char* pattern, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) out += format("\\u%04x", c);
    else out += c;
  }
  return out + "\"";
}

std::string refresh_text(const RealtimeReport& r) {
  if (r.refresh_hz <= 0) return "display refresh rate unknown";
  return format("display at %.2f Hz (%.2f ms a refresh): %ld refreshes missed", r.refresh_hz,
                1000.0 / r.refresh_hz, r.missed_refreshes);
}

}  // namespace

std::string realtime_text(const RealtimeReport& r) {
  std::string out = format("real time at %dx%d from %.3f s for %.2f s%s, on ", r.screen.width, r.screen.height,
                           r.from_seconds, r.played_seconds, r.ended_early ? " (ended early)" : "") +
                    r.adapter + (r.sound ? ", with sound\n" : ", no sound output (a silent wall clock)\n");
  if (!r.caveat.empty()) out += "NOTE: " + r.caveat + "\n";
  const IntervalStats& i = r.intervals;
  out += format("%d intervals between presents: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n",
                i.count, i.median_ms, i.p99_ms, i.worst_ms);
  out += refresh_text(r) + "\n";
  out += format("\nGPU time per frame from timestamps\n  %-32s %7s %10s %10s\n", "section", "frames", "median ms",
                "worst ms");
  for (const auto& s : r.sections)
    out += format("  %-32s %7d %10.3f %10.3f\n", s.section.c_str(), s.frames, s.median_ms, s.worst_ms);
  return out;
}

std::string realtime_json(const RealtimeReport& r) {
  std::string sections;
  for (const auto& s : r.sections)
    sections += std::string(sections.empty() ? "\n    " : ",\n    ") + "{\"section\": " + quoted(s.section) +
                format(", \"frames\": %d, \"gpu_median_ms\": %.4f, \"gpu_worst_ms\": %.4f}", s.frames,
                       s.median_ms, s.worst_ms);
  const IntervalStats& i = r.intervals;
  return format("{\n  \"realtime\": true,\n  \"screen\": [%d, %d],\n", r.screen.width, r.screen.height) +
         "  \"adapter\": " + quoted(r.adapter) + ",\n  \"caveat\": " + quoted(r.caveat) +
         format(",\n  \"sound\": %s,\n  \"from_seconds\": %.3f,\n  \"played_seconds\": %.3f,\n"
                "  \"ended_early\": %s,\n  \"refresh_hz\": %.3f,\n",
                r.sound ? "true" : "false", r.from_seconds, r.played_seconds, r.ended_early ? "true" : "false",
                r.refresh_hz) +
         format("  \"intervals_ms\": {\"count\": %d, \"median\": %.4f, \"p99\": %.4f, \"worst\": %.4f},\n", i.count,
                i.median_ms, i.p99_ms, i.worst_ms) +
         (r.missed_refreshes < 0 ? std::string("  \"missed_refreshes\": null,\n")
                                 : format("  \"missed_refreshes\": %ld,\n", r.missed_refreshes)) +
         "  \"sections\": [" + sections + "\n  ]\n}\n";
}
