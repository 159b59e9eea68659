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
  int64_t total = 0;
  for (double t : o.at) {
    plans.push_back(plan_priming(seconds_to_position(t), o.fps, intro_glitch_credits()));
    total += static_cast<int64_t>(plans.back().frames.size()) + 1;
  }
  if (total > static_cast<int64_t>(o.at.size()))
    capture_message(std::to_string(total - o.at.size()) +
                    " earlier frames, not kept, rebuild the sun shafts and logo particles the stills show");
  ProgressLine progress(total, stderr);
  for (size_t i = 0; i < o.at.size(); ++i) {
    if (!run_priming(intro, plans[i], o.fps, progress) || interruption_requested()) {
      progress.finish();
      capture_message("interrupted; " + std::to_string(i) + " stills written");
      return CaptureExit::Interrupted;
    }
    render_frame_at(intro, seconds_to_position(o.at[i]));
    if (!write_png(paths[i], back_buffer_pixels(intro), o.size.width, o.size.height, &error)) {
      progress.finish();
      capture_message(error);
      return CaptureExit::OutputFailed;
    }
    progress.frame_done();
  }
  progress.finish();
  for (const auto& path : paths) capture_message("wrote " + path);
  return CaptureExit::Done;
}
