// The intro: no arguments, no configuration. Covers the desktop, plays the
// soundtrack once and draws in step with it until Escape or 136 seconds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gpu/gpu.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"
#include "src/main_loop.h"
#include "src/gpu_setup.h"
#include "src/image_upload.h"
#include "src/renderer.h"
#include "src/soundtrack.h"

namespace {

// Exit statuses (listed in README.md): 0 at the end, on Escape or when asked
// to end; 1 is taken by a failed track set-up; on Windows a failed device
// creation returns its HRESULT.
constexpr int kNoDisplay = 2;
constexpr int kNoDevice = 3;
constexpr int kNoGpuObject = 4;

// A program, texture, view or the constant buffer the device refused. The
// intro cannot draw without it, and on Windows it has no console: the viewer
// is told which object failed and why, rather than left with the music over
// a black screen and a status of 0.
[[noreturn]] void gpu_object_failed(const std::string& failure) {
  platform::show_error_message(failure.c_str(), "Velmorand cannot start");
  std::exit(kNoGpuObject);
}

}  // namespace

int main() {
  platform::DesktopSize screen;
  std::string error;
  if (!platform::desktop_size(&screen, &error)) {
    std::fprintf(stderr, "velmorand: %s\n", error.c_str());
    return kNoDisplay;
  }
  DecodedImage icon = decode_image(find_asset("icon_32"), "icon_32");
  auto window = platform::create_window({.title = "Velmorand",
                                         .app_name = "velmorand",
                                         .width = screen.width,
                                         .height = screen.height,
                                         .icon_rgba = icon.rgba.data(),
                                         .icon_size = icon.width == icon.height ? icon.width : 0},
                                        &error);
  if (!window) {
    std::fprintf(stderr, "velmorand: %s\n", error.c_str());
    return kNoDisplay;
  }
  int32_t platform_status = 0;
  auto device = gpu::create_device(
      {.width = screen.width, .height = screen.height, .window = window->native_handle()}, &error,
      &platform_status);
  if (!device) {
    std::fprintf(stderr, "velmorand: %s\n", error.c_str());
    // Where the platform names its failure (Direct3D's HRESULT), that code is
    // the exit status, so a launcher sees exactly what went wrong.
    return platform_status != 0 ? platform_status : kNoDevice;
  }
  Renderer renderer(*device, {screen.width, screen.height});
  if (std::string failure = present_startup_clear(renderer); !failure.empty()) gpu_object_failed(failure);
  PlaybackState playback;
  if (std::string failure = create_gpu_resources(renderer); !failure.empty()) gpu_object_failed(failure);
  // Asked to end during the slow start-up: end before the sound starts.
  if (window->closed()) std::exit(0);
  playback_start(playback);

  run_main_loop(renderer, playback, *window);
  playback_shutdown(playback);
  // The loop never waits for the GPU, so the last frame may still be running
  // on it; a process that ends under it crashes some drivers on their way
  // out (Wine's translation to OpenGL did, every other run).
  device->flush();
  std::exit(0);
}
