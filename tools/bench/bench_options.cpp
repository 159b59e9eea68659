#include "tools/bench/bench_options.h"

#include <algorithm>

#include "tools/common/argument_values.h"

const char kBenchUsage[] =
    "usage: velmorand-bench [--size WxH] [--at T1,T2,...] [--frames N] [--warmup N] [--json]\n"
    "                       [--choreography DIR]\n"
    "       velmorand-bench --realtime SECONDS [--at T] [--json]\n"
    "Renders the intro headless at chosen times and reports, per pass, the GPU time from\n"
    "timestamp queries (median and min over the frames), the CPU time of one frame's fill\n"
    "and recording, and how start-up time splits.\n"
    "  --size WxH   the screen the intro fills (default 1280x720)\n"
    "  --at T,...   times in seconds (default: one in each section of the intro)\n"
    "  --frames N   measured frames per time (default 9)\n"
    "  --warmup N   frames rendered first at each time, not measured (default 2)\n"
    "  --json       machine-readable output\n"
    "  --realtime SECONDS  instead, play the intro as it runs for a viewer, covering the\n"
    "               desktop with its sound, for SECONDS from --at (default 0), and report\n"
    "               the intervals between presents (median, 99th percentile, worst), the\n"
    "               refreshes missed at the display's rate and the GPU time per frame in\n"
    "               each section; Escape ends it early\n"
    "  --choreography DIR\n"
    "               the key lists of DIR (velmorand-tracks --export-text writes them)\n"
    "               replace the compiled-in keys of their tracks; a list that does not\n"
    "               read is reported as FILE:LINE:COLUMN (exit 2)\n"
    "Like the intro it reads track files (sync-2F_*.track) in the working directory and\n"
    "then replaces their keys with the compiled-in ones: they change nothing.\n"
    "Exit status: 0 measured, 2 bad arguments, 3 the intro cannot start or render at the\n"
#ifdef _WIN32
    "size (no Direct3D 11 device, or the size is beyond what the device allows), 4 the\n"
    "report could not be written.\n";
#else
    "size (no Vulkan device, or the size is beyond what the device allows), 4 the report\n"
    "could not be written.\n";
#endif

namespace {

bool set_option(BenchOptions& o, const std::string& name, const std::string& value) {
  if (name == "--size") {
    auto size = parse_size(value);
    if (size) o.size = *size;
    return size.has_value();
  }
  if (name == "--realtime") {
    auto seconds = parse_seconds(value);
    if (seconds && *seconds > 0) o.realtime = *seconds;
    return seconds && *seconds > 0;
  }
  if (name == "--at") {
    auto times = parse_seconds_list(value);
    if (times) o.at = *times;
    return times.has_value();
  }
  if (name == "--choreography") {
    o.choreography = value;
    return !value.empty();
  }
  auto count = parse_int(value, name == "--warmup" ? 0 : 1, 1000);
  if (count) (name == "--warmup" ? o.warmup : o.frames) = *count;
  return count.has_value();
}

const char* value_hint(const std::string& name) {
  if (name == "--size") return "WxH with sides from 1 to 65535, like 1280x720";
  if (name == "--at") return "seconds from 0 to 136 separated by commas, like 30,110";
  if (name == "--realtime") return "seconds above 0, at most 136, like 10";
  if (name == "--warmup") return "a whole number from 0 to 1000";
  if (name == "--choreography") return "a folder of key lists";
  return "a whole number from 1 to 1000";
}

}  // namespace

std::optional<BenchOptions> parse_bench_options(int argc, const char* const* argv, std::string* error) {
  BenchOptions o;
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) {
    OptionWord word = split_option(argv[i]);
    if (word.name == "--help" || word.name == "-h") {
      o.help = true;
      return o;
    }
    if (std::find(given.begin(), given.end(), word.name) != given.end()) {
      *error = word.name + " is given twice" +
               (word.name == "--at" ? std::string("; give every time in one list, like --at 30,110") : "");
      return std::nullopt;
    }
    given.push_back(word.name);
    if (word.name == "--json" && !word.value) {
      o.json = true;
      continue;
    }
    if (word.name != "--size" && word.name != "--at" && word.name != "--frames" && word.name != "--warmup" &&
        word.name != "--choreography" && word.name != "--realtime") {
      *error = "unknown argument '" + std::string(argv[i]) + "'";
      return std::nullopt;
    }
    if (!word.value && i + 1 < argc) word.value = argv[++i];
    if (!word.value || !set_option(o, word.name, *word.value)) {
      *error = (word.value ? "bad value '" + *word.value + "'" : std::string("no value")) + " for " + word.name +
               ": " + value_hint(word.name);
      return std::nullopt;
    }
  }
  if (o.realtime > 0 && o.at.size() > 1) {
    *error = "--realtime plays from one time: give --at a single time";
    return std::nullopt;
  }
  if (o.realtime > 0 && !o.choreography.empty()) {
    *error = "--realtime plays the compiled-in choreography: leave out --choreography";
    return std::nullopt;
  }
  return o;
}
