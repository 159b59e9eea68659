#pragma once
// velmorand-tracks --plot FILE.svg [--from S] [--to S]: the choreography the
// intro plays, drawn as an SVG picture (tools/tracks/plot_svg.h).
#include <cstdio>

int run_plot(int argc, const char* const argv[], std::FILE* out, std::FILE* err);
