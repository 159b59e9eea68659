#include "src/headless_intro.h"

#include <chrono>

#include "src/elapsed_time.h"
#include "src/frame_passes.h"

namespace {

// The device, the renderer and every GPU resource at `intro.options.screen`.
bool make_gpu(HeadlessIntro& intro, std::string* error) {
  const HeadlessOptions& options = intro.options;
  auto start = std::chrono::steady_clock::now();
  intro.device = gpu::create_device({.width = options.screen.width,
                                     .height = options.screen.height,
                                     .window = options.window,
                                     .validation = options.validation,
                                     .timing = options.timing},
                                    error);
  if (!intro.device) return false;
  intro.device_ms = ms_since(start);
  if (options.wrap_device) intro.device = options.wrap_device(std::move(intro.device));
  intro.renderer = std::make_unique<Renderer>(*intro.device, options.screen);
  present_startup_clear(*intro.renderer);
  intro.setup = {};  // the times of this making, not summed with an earlier one
  create_gpu_resources(*intro.renderer, &intro.setup);
  return true;
}

}  // namespace

std::unique_ptr<HeadlessIntro> start_headless_intro(const HeadlessOptions& options, std::string* error) {
  auto intro = std::make_unique<HeadlessIntro>();
  intro->options = options;
  auto clock = std::make_unique<platform::VirtualAudioDevice>();
  intro->clock = clock.get();
  intro->playback.wave_out = std::move(clock);
  if (!make_gpu(*intro, error)) return nullptr;
  const auto start = std::chrono::steady_clock::now();
  playback_start(intro->playback);
  intro->playback_start_ms = ms_since(start);
  return intro;
}

bool remake_headless_renderer(HeadlessIntro& intro, Size screen, std::string* error) {
  // The renderer's objects live in the device: it goes first, then the device
  // and its surface, so the window takes a new one.
  intro.renderer.reset();
  intro.device.reset();
  intro.options.screen = screen;
  return make_gpu(intro, error);
}

float render_frame_at(HeadlessIntro& intro, uint32_t samples) {
  intro.clock->set_position(samples);
  return run_frame(*intro.renderer, intro.playback);
}

std::vector<uint8_t> back_buffer_pixels(HeadlessIntro& intro) {
  return intro.device->read_rgba8(intro.renderer->backBuffer);
}

void stop_headless_intro(HeadlessIntro& intro) { playback_shutdown(intro.playback); }
