#include <csignal>
#include <cstdio>

#include "tools/tracks/tracks_tool.h"

int main(int argc, char** argv) {
  // Ctrl-C and SIGTERM end it at any stage, also where a shell started it
  // with them ignored.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  return run_tracks_tool(argc, argv, stdout, stderr);
}
