// Fuzz target for the command lines of the capture tool, the benchmark, the
// preview and the tracks tool. The input is one argument a line, the tool's
// name first; every parser reads it. A command line is either refused with a
// message (each tool then ends with status 2) or read into options that keep
// every rule of the tool's usage.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/bench/bench_options.h"
#include "tools/capture/capture_command.h"
#include "tools/preview/preview_options.h"
#include "tools/tracks/tracks_request.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_tool_options: %s\n", what);
    std::abort();
  }
}

bool valid(Size s) { return s.width >= 1 && s.width <= 65535 && s.height >= 1 && s.height <= 65535; }

bool times_valid(const std::vector<double>& times) {
  for (double t : times)
    if (!(t >= 0 && t <= kIntroSeconds)) return false;
  return true;
}

bool video_name(const std::string& out) {
  std::string end = out.substr(out.size() < 4 ? 0 : out.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".mp4" || end == ".mkv";
}

void check_capture(const std::vector<std::string>& args) {
  const CaptureCommand command = read_capture_command(args);
  if (!command.refusal.empty()) return;
  if (command.join) {
    check(!command.join->parts.empty() && video_name(command.join->out), "a join without parts or a video read");
    return;
  }
  const CaptureOptions& o = command.options;
  if (o.help) return;
  check(valid(o.size) && o.fps >= 1 && o.fps <= 1000 && o.crf >= 0 && o.crf <= 51, "capture options out of range");
  check(o.from >= 0 && o.from < o.to && o.to <= kIntroSeconds && times_valid(o.at), "capture times out of range");
  check(!o.out.empty(), "a capture without --out read");
  check(o.kind != OutputKind::Video || (o.size.width % 2 == 0 && o.size.height % 2 == 0 && o.at.empty()),
        "a video of odd size or of stills read");
  check(o.kind != OutputKind::Stills || !o.at.empty(), "a .png path without --at read");
  if (command.part)
    check(command.part->part >= 0 && command.part->part < command.part->parts, "a part outside its count read");
}

void check_bench(const std::vector<const char*>& argv) {
  std::string error;
  const auto o = parse_bench_options(static_cast<int>(argv.size()), argv.data(), &error);
  if (!o) return check(!error.empty(), "the benchmark refused a command line without a message");
  if (o->help) return;
  check(valid(o->size) && times_valid(o->at) && o->frames >= 1 && o->frames <= 1000 && o->warmup >= 0 &&
            o->warmup <= 1000,
        "benchmark options out of range");
}

void check_preview(const std::vector<const char*>& argv) {
  std::string error;
  const auto o = parse_preview_options(static_cast<int>(argv.size()), argv.data(), &error);
  if (!o) return check(!error.empty(), "the preview refused a command line without a message");
  check(valid(o->size) && o->at >= 0 && o->at <= kIntroSeconds, "preview options out of range");
}

void check_tracks(const std::vector<const char*>& argv) {
  std::string error;
  const auto request = parse_tracks_request(static_cast<int>(argv.size()), argv.data(), &error);
  if (!request) return check(!error.empty(), "the tracks tool refused a command line without a message");
  const std::size_t wanted = request->command == "--help" ? 0 : 1;
  check(request->arguments.size() >= wanted && request->arguments.size() <= 2,
        "the tracks tool read a wrong count");
  for (const std::string& argument : request->arguments)
    check(!argument.empty(), "the tracks tool read an empty argument");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= text.size() && args.size() < 64;) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    // An argument ends at its first NUL, as the system hands it over.
    const std::string_view word = text.substr(start, end - start);
    args.emplace_back(word.substr(0, word.find('\0')));
    start = end + 1;
  }
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  check_capture(args);
  check_bench(argv);
  check_preview(argv);
  check_tracks(argv);
  return 0;
}
