// The intro in a window presents without waiting for the GPU itself, so no
// frame can sleep: on Windows a sleep lasts a whole timer tick (about
// 15.6 ms) and the frame misses its refresh. The swap chain's own queue
// paces the loop instead. Every wait of the Direct3D 11 layer goes through
// one seam that counts waits and pauses.
#include <gtest/gtest.h>

#include <string>

#include "platform/gpu/d3d11/d3d11_wait.h"
#include "platform/window/window.h"
#include "src/headless_intro.h"

namespace {

constexpr uint32_t kSampleRate = 44100;

TEST(WindowedPacing, PresentedFramesNeitherWaitForTheGpuNorSleep) {
  platform::DesktopSize screen;
  std::string error;
  ASSERT_TRUE(platform::desktop_size(&screen, &error)) << error;
  auto window = platform::create_window(
      {.title = "Velmorand", .app_name = "velmorand", .width = screen.width, .height = screen.height}, &error);
  ASSERT_TRUE(window) << error;
  auto intro = start_headless_intro({.screen = {screen.width, screen.height}, .window = window->native_handle()},
                                    &error);
  ASSERT_TRUE(intro) << error;

  // Scene frames: far more GPU work than a quick poll would cover.
  const gpu::d3d11::WaitCounts before = gpu::d3d11::wait_counts();
  constexpr int kFrames = 6;
  for (int i = 0; i < kFrames; ++i) {
    while (window->handle_one_event()) {
    }
    render_frame_at(*intro, kSampleRate * (20 + i));
  }
  const gpu::d3d11::WaitCounts after = gpu::d3d11::wait_counts();
  EXPECT_EQ(after.sleeps - before.sleeps, 0u) << "presented frames slept";
  EXPECT_EQ(after.waits - before.waits, 0u) << "presented frames waited for the GPU";

  // The seam does see the waits there are: a flush waits for the GPU.
  intro->device->flush();
  EXPECT_GT(gpu::d3d11::wait_counts().waits, after.waits);
  stop_headless_intro(*intro);
}

}  // namespace
