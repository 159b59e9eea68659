#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>

#include "tools/capture/argument_values.h"

const char kCaptureUsage[] =
    "usage: velmorand-capture --out PATH [--size WxH] [--fps N] [--from S] [--to S]\n"
    "                         [--at T1,T2,...] [--crf N]\n"
    "Renders the intro offline, frame by frame, exactly as it plays.\n"
    "  --out PATH   a folder: numbered PNG files frame_K.png (K counts frames from 0 s);\n"
    "               NAME.png with --at: NAME_<seconds>.png per time;\n"
    "               NAME.mp4 or NAME.mkv: H.264 video with the soundtrack of the range\n"
    "  --size WxH   the screen the intro fills (default 1280x720)\n"
    "  --fps N      frames per second (default 60); frame k shows floor(k x 44100 / N)\n"
    "  --from S     first second of the range (default 0)\n"
    "  --to S       end of the range, not included (default 136)\n"
    "  --at T,...   stills at these times instead of a range\n"
    "  --crf N      H.264 quality, 0 (lossless) to 51 (default 18)\n"
    "Exit status: 0 done, 2 bad arguments, 3 no device for the size, 4 output failed,\n"
    "130 interrupted (a video holds the frames made so far).\n";

namespace {

bool ends_with(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                    [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

OutputKind kind_of(const std::string& out) {
  if (ends_with(out, ".mp4") || ends_with(out, ".mkv")) return OutputKind::Video;
  if (ends_with(out, ".png")) return OutputKind::Stills;
  return OutputKind::Folder;
}

bool is_option(const std::string& name) {
  for (const char* known : {"--size", "--fps", "--from", "--to", "--at", "--out", "--crf"})
    if (name == known) return true;
  return false;
}

// Stores one option's value; false when the value does not parse.
bool set_option(CaptureOptions& o, const std::string& name, const std::string& value) {
  if (name == "--size") {
    auto size = parse_size(value);
    if (size) o.size = *size;
    return size.has_value();
  }
  if (name == "--fps") return (o.fps = parse_int(value, 1, 1000).value_or(0)) != 0;
  if (name == "--crf") {
    auto crf = parse_int(value, 0, 51);
    if (crf) o.crf = *crf;
    return crf.has_value();
  }
  if (name == "--at") {
    auto times = parse_seconds_list(value);
    if (times) o.at = *times;
    return times.has_value();
  }
  if (name == "--out") {
    o.out = value;
    return !value.empty();
  }
  auto seconds = parse_seconds(value);
  if (seconds) (name == "--from" ? o.from : o.to) = *seconds;
  return seconds.has_value();
}

const char* value_hint(const std::string& name) {
  if (name == "--size") return "WxH with sides from 1 to 65535, like 1280x720";
  if (name == "--fps") return "a whole number from 1 to 1000";
  if (name == "--crf") return "a whole number from 0 to 51";
  if (name == "--at") return "seconds separated by commas, like 12.5,100";
  if (name == "--out") return "a path";
  return "seconds, like 12.5";
}

// Rules that need more than one option.
bool check_combination(const CaptureOptions& o, bool range_given, bool crf_given, std::string* error) {
  auto fail = [error](std::string message) { *error = std::move(message); return false; };
  if (o.out.empty()) return fail("--out is required (a folder, NAME.png with --at, NAME.mp4 or NAME.mkv)");
  if (!o.at.empty() && range_given) return fail("--at makes stills; it cannot be combined with --from or --to");
  if (!o.at.empty() && o.kind == OutputKind::Video) return fail("--at makes stills; give a folder or a NAME.png path, not a video");
  if (o.at.empty() && o.kind == OutputKind::Stills) return fail("a .png path needs --at (use a folder for numbered frames)");
  if (crf_given && o.kind != OutputKind::Video) return fail("--crf applies to video output (.mp4 or .mkv) only");
  if (o.kind == OutputKind::Video && (o.size.width % 2 || o.size.height % 2))
    return fail("a yuv420p video needs an even width and height; " + std::to_string(o.size.width) +
                "x" + std::to_string(o.size.height) + " is odd");
  for (double t : o.at)
    if (t > kIntroSeconds) return fail("--at times lie between 0 and 136 seconds");
  if (o.to > kIntroSeconds) return fail("--to lies between 0 and 136 seconds");
  if (o.from >= o.to) return fail("--from must come before --to");
  return true;
}

}  // namespace

std::optional<CaptureOptions> parse_capture_options(int argc, const char* const* argv, std::string* error) {
  CaptureOptions o;
  bool range_given = false, crf_given = false;
  for (int i = 1; i < argc; ++i) {
    OptionWord word = split_option(argv[i]);
    if (word.name == "--help" || word.name == "-h") {
      o.help = true;
      return o;
    }
    if (!is_option(word.name)) {
      *error = "unknown argument '" + std::string(argv[i]) + "'";
      return std::nullopt;
    }
    if (!word.value) {
      if (i + 1 >= argc) {
        *error = word.name + " needs a value: " + value_hint(word.name);
        return std::nullopt;
      }
      word.value = argv[++i];
    }
    if (!set_option(o, word.name, *word.value)) {
      *error = "bad value '" + *word.value + "' for " + word.name + ": " + value_hint(word.name);
      return std::nullopt;
    }
    range_given |= word.name == "--from" || word.name == "--to";
    crf_given |= word.name == "--crf";
  }
  o.kind = kind_of(o.out);
  if (!check_combination(o, range_given, crf_given, error)) return std::nullopt;
  return o;
}
