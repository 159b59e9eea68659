#include "tools/bench/bench_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

std::string format(const char* pattern, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

std::string pass_row(const std::string& name, int calls, Spread gpu, Spread alone) {
  std::string count = calls ? format("%5d", calls) : "     ";
  return format("  %-24s%s %10.3f %9.3f %10.3f %9.3f\n", name.c_str(), count.c_str(), gpu.median_ms, gpu.min_ms,
                alone.median_ms, alone.min_ms);
}

std::string cpu_row(const std::string& name, Spread s) {
  return format("  %-29s %10.3f %9.3f\n", name.c_str(), s.median_ms, s.min_ms);
}

std::string time_text(const TimeReport& t) {
  std::string out = format("\n%.3f s, %s\n", t.seconds, t.section.c_str());
  out += format("  %-29s %20s %20s\n", "", "timestamps", "run alone");
  out += format("  %-24s%s %10s %9s %10s %9s\n", "pass", "calls", "median ms", "min ms", "median ms", "min ms");
  for (const auto& p : t.passes) out += pass_row(p.program, p.calls, p.gpu, p.alone);
  out += pass_row("all passes", 0, t.gpu_total, t.alone_total);
  out += format("  %-29s %10s %9s\n", "", "median ms", "min ms");
  out += cpu_row("CPU fill of the block", t.cpu_fill);
  out += cpu_row("CPU fill and recording", t.cpu_fill_and_record);
  out += cpu_row("whole frame, wall clock", t.frame);
  return out;
}

using Json = nlohmann::ordered_json;

Json spread_json(Spread s) {
  return {{"median_ms", rounded(s.median_ms, 1e4)}, {"min_ms", rounded(s.min_ms, 1e4)}};
}

Json time_json(const TimeReport& t) {
  Json passes = Json::array();
  for (const auto& p : t.passes)
    passes.push_back({{"program", p.program},
                      {"calls", p.calls},
                      {"gpu", spread_json(p.gpu)},
                      {"alone", spread_json(p.alone)}});
  return {{"seconds", rounded(t.seconds, 1e3)},
          {"section", t.section},
          {"passes", passes},
          {"gpu_total", spread_json(t.gpu_total)},
          {"alone_total", spread_json(t.alone_total)},
          {"cpu_fill", spread_json(t.cpu_fill)},
          {"cpu_fill_and_record", spread_json(t.cpu_fill_and_record)},
          {"frame", spread_json(t.frame)}};
}

}  // namespace

std::string bench_text(const BenchReport& r) {
  std::string out = format("screen %s, render %s, %d bloom levels, on ", size_text(r.screen).c_str(),
                           size_text(r.render).c_str(), r.bloom_levels) +
                    r.adapter + "\n";
  if (!r.caveat.empty()) out += "NOTE: " + r.caveat + "\n";
  out += format(
      "median and min of %d frames after %d warm-up frames; pass times from timestamp\n"
      "queries inside the frame, and of each pass run alone (flushed before and after)\n",
      r.frames, r.warmup);
  const StartupReport& s = r.startup;
  out += format(
      "\nstart-up ms: device %.1f, image decode %.1f, uploads %.1f, programs %.1f, "
      "lens dirt %.1f, soundtrack and tracks %.1f\n",
      s.device_ms, s.image_decode_ms, s.uploads_ms, s.programs_ms, s.lens_dirt_ms, s.soundtrack_ms);
  for (const auto& t : r.times) out += time_text(t);
  return out;
}

std::string bench_json(const BenchReport& r) {
  const StartupReport& s = r.startup;
  Json times = Json::array();
  for (const auto& t : r.times) times.push_back(time_json(t));
  const Json report = {{"screen", {r.screen.width, r.screen.height}},
                       {"render", {r.render.width, r.render.height}},
                       {"bloom_levels", r.bloom_levels},
                       {"adapter", r.adapter},
                       {"caveat", r.caveat},
                       {"frames", r.frames},
                       {"warmup", r.warmup},
                       {"startup_ms",
                        {{"device", rounded(s.device_ms, 1e3)},
                         {"image_decode", rounded(s.image_decode_ms, 1e3)},
                         {"uploads", rounded(s.uploads_ms, 1e3)},
                         {"programs", rounded(s.programs_ms, 1e3)},
                         {"lens_dirt", rounded(s.lens_dirt_ms, 1e3)},
                         {"soundtrack_and_tracks", rounded(s.soundtrack_ms, 1e3)}}},
                       {"times", times}};
  // Adapter names come from drivers: replace what is not UTF-8 rather than fail.
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
