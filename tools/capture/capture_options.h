#pragma once
// What velmorand-capture is asked to do, read from its command line and
// checked before anything slow starts.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/common/argument_values.h"
#include "tools/common/key_list_folder.h"

// Where the pictures go, decided by the --out path.
enum class OutputKind {
  Folder,  // numbered PNG files (or, with --at, one per time) in a folder
  Stills,  // NAME.png with --at: NAME_<seconds>.png per time
  Video,   // NAME.mp4 or NAME.mkv through ffmpeg, with the soundtrack
};

struct CaptureOptions {
  Size size{1280, 720};
  int fps = 60;
  double from = 0.0;
  double to = kIntroSeconds;
  std::vector<double> at;  // stills; empty for a range
  std::string out;
  OutputKind kind = OutputKind::Folder;
  int crf = 18;
  std::string choreography;  // a folder of key lists; empty: the compiled-in keys
  bool help = false;
  // The lists of `choreography`, read once before anything slow starts (the
  // parser only takes the name); null for the compiled-in keys.
  std::shared_ptr<const KeyListFolder> key_lists;
};

// The options, or nullopt with the reason in `error`. An option given twice
// is refused: which of the two was meant is not for the tool to guess.
std::optional<CaptureOptions> parse_capture_options(int argc, const char* const* argv, std::string* error);

extern const char kCaptureUsage[];
