#include "tools/preview/preview_options.h"

#include <algorithm>
#include <vector>

#include "src/frame_clock.h"
#include "tools/common/argument_values.h"

const char kPreviewUsage[] =
    "usage: velmorand-preview [--size WxH] [--choreography DIR] [--at SECONDS]\n"
    "Plays the intro in a window with its sound, to seek, pause, loop and re-time it.\n"
    "  --size WxH           the window's size at the start (default 1280x720); the\n"
    "                       picture is drawn again at the window's size after a resize\n"
    "  --choreography DIR   the key lists of DIR (velmorand-tracks --export-text makes\n"
    "                       them) instead of the compiled-in keys, swapped in on every save\n"
    "  --at SECONDS         start there instead of at 0\n"
    "Keys: Space pause and play; Left, Right one bar (32 rows), with Shift one beat\n"
    "(8 rows); Page Up, Page Down the previous and next section; Home back to 0;\n"
    "[ and ] the loop's start and end at the current row, L loop on and off; Escape quits.\n"
    "Exit status: 0 done, 2 bad arguments or no display, 3 no device for the size.\n";

namespace {

bool set_option(PreviewOptions& o, const std::string& name, const std::string& value, std::string* error) {
  if (name == "--size") {
    const auto size = parse_size(value);
    if (size) o.size = *size;
    *error = "--size takes WxH with sides from 1 to 65535, like 1280x720, not '" + value + "'";
    return size.has_value();
  }
  if (name == "--at") {
    const auto seconds = parse_seconds(value);
    if (seconds && *seconds <= kEndSeconds) o.at = *seconds;
    *error = "--at takes seconds from 0 to 136, not '" + value + "'";
    return seconds && *seconds <= kEndSeconds;
  }
  o.choreography = value;
  *error = "--choreography takes a folder";
  return !value.empty();
}

}  // namespace

std::optional<PreviewOptions> parse_preview_options(int argc, const char* const argv[], std::string* error) {
  PreviewOptions o;
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) {
    const OptionWord word = split_option(argv[i]);
    if (word.name == "--help" || word.name == "-h") {
      o.help = true;
      continue;
    }
    if (word.name != "--size" && word.name != "--at" && word.name != "--choreography") {
      *error = "unknown option '" + word.name + "'";
      return std::nullopt;
    }
    // Which of two values was meant is not for the player to guess.
    if (std::find(given.begin(), given.end(), word.name) != given.end()) {
      *error = word.name + " is given twice";
      return std::nullopt;
    }
    given.push_back(word.name);
    std::optional<std::string> value = word.value;
    if (!value && i + 1 < argc) value = argv[++i];
    if (!value) {
      *error = word.name + " needs a value";
      return std::nullopt;
    }
    if (!set_option(o, word.name, *value, error)) return std::nullopt;
  }
  error->clear();
  return o;
}
