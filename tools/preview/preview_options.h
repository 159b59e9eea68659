#pragma once
// velmorand-preview's command line.
#include <optional>
#include <string>

#include "src/render_sizes.h"

extern const char kPreviewUsage[];

struct PreviewOptions {
  Size size{1280, 720};      // the window, and the screen the intro is drawn for
  std::string choreography;  // a folder of key lists; empty: the compiled-in keys
  double at = 0;             // seconds to start at
  bool help = false;
};

// Null, with the reason in `error`, for a command line that does not parse.
std::optional<PreviewOptions> parse_preview_options(int argc, const char* const argv[], std::string* error);
