#pragma once
// What velmorand-capture is asked to do, read from its command line and
// checked before anything slow starts.

#include <optional>
#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/common/argument_values.h"

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
  bool help = false;
};

// The options, or nullopt with the reason in `error`.
std::optional<CaptureOptions> parse_capture_options(int argc, const char* const* argv,
                                                    std::string* error);

extern const char kCaptureUsage[];
