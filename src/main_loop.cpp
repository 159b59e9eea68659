#include "src/main_loop.h"

#include "src/frame_clock.h"
#include "src/frame_passes.h"

LoopResult run_main_loop(Renderer& r, PlaybackState& playback, platform::Window& window) {
  LoopResult result;
  do {
    if (window.handle_one_event()) {
      ++result.events;
    } else {
      result.last_frame_time = run_frame(r, playback);
      ++result.frames;
    }
  } while (!window.escape_pressed() && !window.closed() && kEndSeconds > result.last_frame_time);
  return result;
}
