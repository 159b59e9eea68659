// Stills at chosen times, each exactly the picture the intro shows then.
#include <cstdio>

#include "tools/offline/offline_frames.h"
#include "tools/capture/capture_run.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/interruption.h"
#include "tools/capture/output_paths.h"
#include "tools/capture/png_file.h"
#include "tools/offline/progress_line.h"

CaptureExit capture_stills(HeadlessIntro& intro, const CaptureOptions& o) {
  std::vector<std::string> paths;
  std::string error;
  if (!still_png_paths(o, &paths, &error)) {
    capture_message(error);
    return CaptureExit::BadArguments;
  }
  std::vector<Priming> plans;
  Priming all;  // every still's replayed frames, for the message and the count
  for (double t : o.at) {
    plans.push_back(plan_priming(seconds_to_position(t), o.fps, intro_glitch_credits()));
    all.frames.insert(all.frames.end(), plans.back().frames.begin(), plans.back().frames.end());
    all.shafts |= plans.back().shafts;
    all.reset_particles |= plans.back().reset_particles && !plans.back().frames.empty();
  }
  if (!all.frames.empty()) capture_message(replay_text(all) + " (rendered, not kept)");
  // Only the replayed frames are counted: a still is written right after its own.
  ProgressLine progress(static_cast<int64_t>(all.frames.size()), stderr, "replayed frame");
  auto finish_progress = [&] {
    if (!all.frames.empty()) progress.finish();
  };
  for (size_t i = 0; i < o.at.size(); ++i) {
    if (!run_priming(intro, plans[i], o.fps, [&progress] { progress.frame_done(); }) || interruption_requested()) {
      finish_progress();
      capture_message("interrupted; " + std::to_string(i) + " stills written");
      return CaptureExit::Interrupted;
    }
    render_frame_at(intro, seconds_to_position(o.at[i]));
    if (!write_png(paths[i], back_buffer_pixels(intro), o.size.width, o.size.height, &error)) {
      finish_progress();
      capture_message(error);
      return CaptureExit::OutputFailed;
    }
  }
  finish_progress();
  for (const auto& path : paths) capture_message("wrote " + path);
  return CaptureExit::Done;
}
