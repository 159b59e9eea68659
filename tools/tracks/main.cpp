#include <cstdio>

#include "tools/tracks/tracks_tool.h"

int main(int argc, char** argv) { return run_tracks_tool(argc, argv, stdout, stderr); }
