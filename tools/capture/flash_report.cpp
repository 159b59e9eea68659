#include "tools/capture/flash_report.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "src/headless_intro.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/flash_count.h"
#include "tools/capture/output_paths.h"
#include "tools/common/argument_values.h"
#include "tools/common/interruption.h"
#include "tools/offline/frame_grid.h"
#include "tools/offline/offline_frames.h"
#include "tools/offline/progress_line.h"

const char kFlashReportUsage[] =
    "\n"
    "       velmorand-capture --flash-report [--size WxH] [--fps N] [--from S] [--to S]\n"
    "                         [--frames FOLDER]\n"
    "Lists every second where general or red flashes exceed three in a second, as\n"
    "WCAG 2.3.1 and ITU-R BT.1702 count them: relative luminance of the sRGB frames,\n"
    "a flash a pair of opposing changes of at least 0.1 with the darker end below\n"
    "0.8, over at least a quarter of a 10-degree field (341x256 pixels of a\n"
    "1024-pixel-wide screen, scaled to the frame). It renders at --size (default\n"
    "160x90) and --fps (default 30), or reads FOLDER/frame_NNNNNN.png as a capture\n"
    "at that --fps wrote them. Exit status: 0 none exceeds, 1 some second does,\n"
    "2 bad arguments, 3 no device for the size, 4 a frame could not be read.\n";

namespace {

struct ReportOptions {
  Size size{160, 90};
  int fps = 30;
  double from = 0.0;
  double to = kIntroSeconds;
  std::string frames;  // a capture's folder; empty: render
};

void say(const std::string& message) { std::fprintf(stderr, "velmorand-capture: %s\n", message.c_str()); }

bool set(ReportOptions& o, const std::string& name, const std::string& value) {
  if (name == "--size") return (o.size = parse_size(value).value_or(Size{0, 0})).width > 0;
  if (name == "--fps") return (o.fps = parse_int(value, 1, 1000).value_or(0)) > 0;
  if (name == "--frames") return !(o.frames = value).empty();
  const auto seconds = parse_seconds(value);
  if (seconds) (name == "--from" ? o.from : o.to) = *seconds;
  return seconds.has_value() && (name == "--from" || name == "--to");
}

std::optional<ReportOptions> parse(const std::vector<std::string>& args) {
  ReportOptions o;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--flash-report") continue;
    OptionWord word = split_option(args[i]);
    if (!word.value && i + 1 < args.size()) word.value = args[++i];
    if (!word.value || !set(o, word.name, *word.value)) {
      say("--flash-report takes --size WxH, --fps N, --from S, --to S and --frames FOLDER; not '" + args[i] +
          "' (velmorand-capture --help lists the options)");
      return std::nullopt;
    }
  }
  if (o.from < o.to) return o;
  say("--from must come before --to");
  return std::nullopt;
}

// Gives each frame's RGBA8 pixels to `take`, in order; false when a frame
// could not be made.
using FrameSink = std::function<void(const uint8_t* rgba)>;

int read_frames(const ReportOptions& o, int64_t first, int64_t end, const FrameSink& take, int64_t* read) {
  for (*read = first; *read < end && !interruption_requested(); ++*read) {
    const std::string path = frame_png_path(o.frames, *read);
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(stbi_load(path.c_str(), &w, &h, &channels, 4),
                                                     stbi_image_free);
    if (!pixels && *read > first) return 0;  // the capture ends here
    if (!pixels || w != o.size.width || h != o.size.height) {
      say(path + (pixels ? " is not " + size_text(o.size) + " (give --size)" : " cannot be read"));
      return 4;
    }
    take(pixels.get());
  }
  return 0;
}

int render_frames(const ReportOptions& o, int64_t first, int64_t end, const FrameSink& take, int64_t* done) {
  std::string error;
  auto intro = start_headless_intro({.screen = o.size}, &error);
  if (!intro || !(error = size_problem(*intro->renderer)).empty()) {
    say("cannot render at " + size_text(o.size) + ": " + error);
    if (intro) stop_headless_intro(*intro);
    return 3;
  }
  start_up_done();
  const Priming plan = plan_priming(frame_position(first, o.fps), o.fps, intro_glitch_credits());
  // The replayed frames are counted apart: they are not the report's.
  ProgressLine replayed(static_cast<int64_t>(plan.frames.size()), stderr, "replayed frame");
  bool going = run_priming(*intro, plan, o.fps, [&replayed] { replayed.frame_done(); });
  if (!plan.frames.empty()) replayed.finish();
  ProgressLine progress(end - first, stderr);
  for (*done = first; going && *done < end && !interruption_requested(); ++*done) {
    render_grid_frame(*intro, *done, o.fps);
    take(back_buffer_pixels(*intro).data());
    progress.frame_done();
  }
  progress.finish();
  stop_headless_intro(*intro);
  return 0;
}

void print(const std::vector<FlashSecond>& seconds, const ReportOptions& o, int64_t first, int64_t end) {
  const FieldSize field = visual_field(o.size.width, o.size.height);
  std::printf("flash report: %dx%d at %d fps, %.3f to %.3f s; a 10-degree field is %dx%d pixels\n", o.size.width,
              o.size.height, o.fps, double(first) / o.fps, double(end) / o.fps, field.width, field.height);
  std::string list;
  for (const FlashSecond& s : seconds) {
    std::printf(
        "%4d s: %.1f general flashes in %.3f to %.3f s, %.1f red; up to %.0f %% of a 10-degree field, "
        "luminance change up to %.2f\n",
        s.second, s.general_flashes, s.period_start, s.period_start + 1, s.red_flashes, 100 * s.area, s.change);
    list += (list.empty() ? "" : ", ") + std::to_string(s.second);
  }
  if (seconds.empty()) std::printf("no second exceeds three flashes\n");
  else
    std::printf("%zu %s three flashes: %s\n", seconds.size(),
                seconds.size() == 1 ? "second exceeds" : "seconds exceed", list.c_str());
}

}  // namespace

bool asks_for_flash_report(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--flash-report") != args.end();
}

int run_flash_report(const std::vector<std::string>& args) {
  const auto o = parse(args);
  if (!o) return 2;
  // One frame before the range, so that its first frame's changes count too
  // (where a capture's folder holds it).
  const int64_t wanted = first_frame_at(o->from, o->fps);
  int64_t first = std::max<int64_t>(wanted - 1, 0);
  if (!o->frames.empty() && !std::filesystem::exists(frame_png_path(o->frames, first))) first = wanted;
  const int64_t end = first_frame_at(o->to, o->fps);
  FlashTransitions transitions(static_cast<size_t>(o->size.width) * o->size.height);
  FlashPeriods periods(o->size.width, o->size.height, o->fps);
  std::vector<PeriodFlashes> frames;
  const FrameSink take = [&](const uint8_t* rgba) {
    frames.push_back(periods.add_frame(transitions.add_frame(rgba)));
  };
  int64_t done = first;
  const int status = o->frames.empty() ? render_frames(*o, first, end, take, &done)
                                       : read_frames(*o, first, end, take, &done);
  if (status != 0) return status;
  if (done < end) say("the report covers frames " + std::to_string(first) + " to " + std::to_string(done - 1));
  const auto seconds = seconds_over_limit(frames, first, o->fps);
  print(seconds, *o, first, done);
  return std::fflush(stdout) != 0 ? 4 : seconds.empty() ? 0 : 1;
}
