#include "tools/capture/join_options.h"

#include <algorithm>

#include "tools/capture/capture_options.h"

bool asks_for_join(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--join") != args.end();
}

std::optional<JoinRequest> parse_join(const std::vector<std::string>& args, std::string* error) {
  JoinRequest request;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--out" && i + 1 < args.size()) {
      request.out = args[++i];
    } else if (args[i] != "--join" && args[i].rfind("--", 0) == 0) {
      *error = "--join takes the parts and --out FILE.mp4|.mkv only, not '" + args[i] + "'";
      return std::nullopt;
    } else if (args[i] != "--join") {
      request.parts.push_back(args[i]);
    }
  }
  const char* argv[] = {"velmorand-capture", "--out", request.out.c_str()};
  auto out = parse_capture_options(3, argv, error);
  if (request.parts.empty() || !out || out->kind != OutputKind::Video) {
    *error = "usage: velmorand-capture --join PART... --out FILE.mp4|.mkv";
    return std::nullopt;
  }
  return request;
}
