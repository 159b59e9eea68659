#include "tools/bench/bench_report.h"

#include <cstdio>

namespace {

std::string format(const char* pattern, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

std::string size_text(Size s) { return format("%dx%d", s.width, s.height); }

std::string pass_row(const std::string& name, int calls, Spread gpu, Spread alone) {
  std::string count = calls ? format("%5d", calls) : "     ";
  return format("  %-24s%s %10.3f %9.3f %10.3f %9.3f\n", name.c_str(), count.c_str(), gpu.median_ms,
                gpu.min_ms, alone.median_ms, alone.min_ms);
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

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) out += format("\\u%04x", c);
    else out += c;
  }
  return out + "\"";
}

std::string spread_json(Spread s) {
  return format("{\"median_ms\": %.4f, \"min_ms\": %.4f}", s.median_ms, s.min_ms);
}

std::string time_json(const TimeReport& t) {
  std::string passes;
  for (const auto& p : t.passes)
    passes += std::string(passes.empty() ? "" : ", ") + "{\"program\": " + quoted(p.program) +
              format(", \"calls\": %d, \"gpu\": ", p.calls) + spread_json(p.gpu) +
              ", \"alone\": " + spread_json(p.alone) + "}";
  return format("{\"seconds\": %.3f, \"section\": ", t.seconds) + quoted(t.section) +
         ", \"passes\": [" + passes + "], \"gpu_total\": " + spread_json(t.gpu_total) +
         ", \"alone_total\": " + spread_json(t.alone_total) +
         ", \"cpu_fill\": " + spread_json(t.cpu_fill) +
         ", \"cpu_fill_and_record\": " + spread_json(t.cpu_fill_and_record) +
         ", \"frame\": " + spread_json(t.frame) + "}";
}

}  // namespace

std::string bench_text(const BenchReport& r) {
  std::string out = format("screen %s, render %s, %d bloom levels, on ", size_text(r.screen).c_str(),
                           size_text(r.render).c_str(), r.bloom_levels) + r.adapter + "\n";
  if (!r.caveat.empty()) out += "NOTE: " + r.caveat + "\n";
  out += format("median and min of %d frames after %d warm-up frames; pass times from timestamp\n"
                "queries inside the frame, and of each pass run alone (flushed before and after)\n",
                r.frames, r.warmup);
  const StartupReport& s = r.startup;
  out += format("\nstart-up ms: device %.1f, image decode %.1f, uploads %.1f, programs %.1f, "
                "lens dirt %.1f, soundtrack and tracks %.1f\n",
                s.device_ms, s.image_decode_ms, s.uploads_ms, s.programs_ms, s.lens_dirt_ms, s.soundtrack_ms);
  for (const auto& t : r.times) out += time_text(t);
  return out;
}

std::string bench_json(const BenchReport& r) {
  const StartupReport& s = r.startup;
  std::string times;
  for (const auto& t : r.times) times += std::string(times.empty() ? "\n    " : ",\n    ") + time_json(t);
  return format("{\n  \"screen\": [%d, %d],\n  \"render\": [%d, %d],\n  \"bloom_levels\": %d,\n",
                r.screen.width, r.screen.height, r.render.width, r.render.height, r.bloom_levels) +
         "  \"adapter\": " + quoted(r.adapter) + ",\n  \"caveat\": " + quoted(r.caveat) +
         format(",\n  \"frames\": %d,\n  \"warmup\": %d,\n", r.frames, r.warmup) +
         format("  \"startup_ms\": {\"device\": %.3f, \"image_decode\": %.3f, \"uploads\": %.3f, "
                "\"programs\": %.3f, \"lens_dirt\": %.3f, \"soundtrack_and_tracks\": %.3f},\n",
                s.device_ms, s.image_decode_ms, s.uploads_ms, s.programs_ms, s.lens_dirt_ms, s.soundtrack_ms) +
         "  \"times\": [" + times + "\n  ]\n}\n";
}
