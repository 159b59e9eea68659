// velmorand-bench: where a frame's time goes, pass by pass, and how long
// start-up takes; with --realtime, whether a machine keeps up with its
// display.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/program_name.h"
#include "tools/bench/bench_options.h"
#include "tools/bench/bench_report.h"
#include "tools/bench/bench_run.h"
#include "tools/bench/realtime_report.h"
#include "tools/bench/realtime_run.h"

namespace {

int write_report(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "velmorand-bench: cannot write the report: %s\n", std::strerror(errno));
    return 4;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::set_program_name("velmorand-bench");
  // Ctrl-C and SIGTERM end it at any stage, also where a shell started it
  // with them ignored: nothing it has made needs closing.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::string error;
  auto options = parse_bench_options(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "velmorand-bench: %s (velmorand-bench --help lists the options)\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(kBenchUsage, stdout);
    return 0;
  }
  if (options->realtime > 0) {
    RealtimeReport report;
    if (!run_realtime(*options, &report, &error)) {
      std::fprintf(stderr, "velmorand-bench: cannot play in real time: %s\n", error.c_str());
      return 3;
    }
    return write_report(options->json ? realtime_json(report) : realtime_text(report));
  }
  KeyListFolder lists;
  if (!options->choreography.empty() && !read_key_list_folder(options->choreography, &lists, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  BenchReport report;
  if (!run_bench(*options, options->choreography.empty() ? nullptr : &lists, &report, &error)) {
    std::fprintf(stderr, "velmorand-bench: cannot render at %dx%d: %s\n", options->size.width,
                 options->size.height, error.c_str());
    return 3;
  }
  return write_report(options->json ? bench_json(report) : bench_text(report));
}
