#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "tools/common/argument_values.h"

const char kCaptureUsage[] =
    "usage: velmorand-capture --out PATH [--size WxH] [--fps N] [--from S] [--to S]\n"
    "                         [--at T1,T2,...] [--crf N] [--choreography DIR]\n"
    "Renders the intro offline, frame by frame, exactly as it plays. Like the intro it\n"
    "reads track files (sync-2F_*.track) in the working directory and then replaces\n"
    "their keys with the compiled-in ones: they change nothing.\n"
    "  --out PATH   what is written depends on the name:\n"
    "               FOLDER: numbered PNG files, FOLDER/frame_000123.png for frame 123\n"
    "               (counted from 0 s), or with --at FOLDER/at_<seconds>.png per time;\n"
    "               NAME.png, with --at only: NAME_<seconds>.png per time (NAME.png\n"
    "               itself is not written);\n"
    "               NAME.mp4 or NAME.mkv: H.264 video with the soundtrack of the range.\n"
    "               Other extensions and \"-\" are refused; end a folder's name with /\n"
    "               to keep a dot in it.\n"
    "  --size WxH   the screen the intro fills (default 1280x720)\n"
    "  --fps N      frames per second (default 60); frame k shows floor(k x 44100 / N)\n"
    "  --from S     first second of the range (default 0)\n"
    "  --to S       end of the range, not included (default 136)\n"
    "  --at T,...   stills at these times instead of a range\n"
    "  --crf N      H.264 quality, 0 (lossless) to 51 (default 18)\n"
    "  --choreography DIR\n"
    "               the key lists of DIR (velmorand-tracks --export-text writes them)\n"
    "               replace the compiled-in keys of their tracks, as velmorand-preview\n"
    "               shows them; a list that does not read is reported as\n"
    "               FILE:LINE:COLUMN (exit 2)\n"
    "Times are plain decimal seconds from 0 to 136. The defaults make 8160 frames of\n"
    "1280x720: on a machine without a GPU start with a smaller --size and --fps.\n"
    "Exit status: 0 done, 2 bad arguments, 3 no device for the size, 4 output failed\n"
    "(the file and the reason are printed; a partial file is removed), 130 interrupted\n"
    "(a video holds the frames made so far).\n";

namespace {

bool equal_ignoring_case(const std::string& a, const char* b) {
  return std::equal(a.begin(), a.end(), b, b + std::strlen(b),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// The extension of the path's last part, dot included ("" for none: "frames",
// ".hidden", ".."). A path ending in "/" names a folder whatever its dots.
std::string extension_of(const std::string& out) {
  if (out.back() == '/') return "";
  const std::string name = out.substr(out.find_last_of('/') + 1);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0 || name.find_first_not_of('.') == std::string::npos) return "";
  return name.substr(dot);
}

// Nullopt for a name that would only make a folder by mistake: "-" (no
// output goes to stdout) or "x.avi".
std::optional<OutputKind> kind_of(const std::string& out) {
  if (out == "-") return std::nullopt;
  const std::string extension = extension_of(out);
  if (extension.empty()) return OutputKind::Folder;
  if (equal_ignoring_case(extension, ".mp4") || equal_ignoring_case(extension, ".mkv")) return OutputKind::Video;
  if (equal_ignoring_case(extension, ".png")) return OutputKind::Stills;
  return std::nullopt;
}

bool is_option(const std::string& name) {
  for (const char* known : {"--size", "--fps", "--from", "--to", "--at", "--out", "--crf", "--choreography"})
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
  if (name == "--out" || name == "--choreography") {
    (name == "--out" ? o.out : o.choreography) = value;
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
  if (name == "--at") return "seconds from 0 to 136 separated by commas, like 12.5,100";
  if (name == "--out") return "a path";
  if (name == "--choreography") return "a folder of key lists";
  return kSecondsHint;
}

// Rules that need more than one option.
bool check_combination(const CaptureOptions& o, bool range_given, bool crf_given, std::string* error) {
  auto fail = [error](std::string message) {
    *error = std::move(message);
    return false;
  };
  if (o.out.empty()) return fail("--out is required (a folder, NAME.png with --at, NAME.mp4 or NAME.mkv)");
  if (!o.at.empty() && range_given) return fail("--at makes stills; it cannot be combined with --from or --to");
  if (!o.at.empty() && o.kind == OutputKind::Video)
    return fail("--at makes stills; give a folder or a NAME.png path, not a video");
  if (o.at.empty() && o.kind == OutputKind::Stills)
    return fail("a .png path needs --at (use a folder for numbered frames)");
  if (crf_given && o.kind != OutputKind::Video) return fail("--crf applies to video output (.mp4 or .mkv) only");
  if (o.kind == OutputKind::Video && (o.size.width % 2 || o.size.height % 2))
    return fail("a yuv420p video needs an even width and height; " + std::to_string(o.size.width) + "x" +
                std::to_string(o.size.height) + " is odd");
  if (o.from >= o.to) return fail("--from must come before --to");
  return true;
}

}  // namespace

std::optional<CaptureOptions> parse_capture_options(int argc, const char* const* argv, std::string* error) {
  CaptureOptions o;
  bool range_given = false, crf_given = false;
  std::vector<std::string> given;
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
    if (std::find(given.begin(), given.end(), word.name) != given.end()) {
      *error = word.name + " is given twice" +
               (word.name == "--at" ? std::string("; give every time in one list, like --at 10,11") : "");
      return std::nullopt;
    }
    given.push_back(word.name);
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
  auto kind = o.out.empty() ? OutputKind::Folder : kind_of(o.out);
  if (!kind) {
    *error = "--out takes a folder, NAME.png (with --at), NAME.mp4 or NAME.mkv; '" + o.out +
             "' is none of these (end a folder's name with / to keep a dot in it)";
    return std::nullopt;
  }
  o.kind = *kind;
  if (!check_combination(o, range_given, crf_given, error)) return std::nullopt;
  return o;
}
