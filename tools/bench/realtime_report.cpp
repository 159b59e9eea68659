#include "tools/bench/realtime_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "tools/bench/bench_stats.h"

namespace {

std::string format(const char* pattern, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

using Json = nlohmann::ordered_json;

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
  out += format("%d intervals between presents: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n", i.count,
                i.median_ms, i.p99_ms, i.worst_ms);
  out += refresh_text(r) + "\n";
  out += format("\nGPU time per frame from timestamps\n  %-32s %7s %10s %10s\n", "section", "frames", "median ms",
                "worst ms");
  for (const auto& s : r.sections)
    out += format("  %-32s %7d %10.3f %10.3f\n", s.section.c_str(), s.frames, s.median_ms, s.worst_ms);
  return out;
}

std::string realtime_json(const RealtimeReport& r) {
  Json sections = Json::array();
  for (const auto& s : r.sections)
    sections.push_back({{"section", s.section},
                        {"frames", s.frames},
                        {"gpu_median_ms", rounded(s.median_ms, 1e4)},
                        {"gpu_worst_ms", rounded(s.worst_ms, 1e4)}});
  const IntervalStats& i = r.intervals;
  const Json report = {{"realtime", true},
                       {"screen", {r.screen.width, r.screen.height}},
                       {"adapter", r.adapter},
                       {"caveat", r.caveat},
                       {"sound", r.sound},
                       {"from_seconds", rounded(r.from_seconds, 1e3)},
                       {"played_seconds", rounded(r.played_seconds, 1e3)},
                       {"ended_early", r.ended_early},
                       {"refresh_hz", rounded(r.refresh_hz, 1e3)},
                       {"intervals_ms",
                        {{"count", i.count},
                         {"median", rounded(i.median_ms, 1e4)},
                         {"p99", rounded(i.p99_ms, 1e4)},
                         {"worst", rounded(i.worst_ms, 1e4)}}},
                       {"missed_refreshes", r.missed_refreshes < 0 ? Json(nullptr) : Json(r.missed_refreshes)},
                       {"sections", sections}};
  // Adapter names come from drivers: replace what is not UTF-8 rather than fail.
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
