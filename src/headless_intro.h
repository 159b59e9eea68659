#pragma once
// The whole intro without a window or a sound device: the same start-up,
// clock and passes, with a virtual audio device whose position the caller
// sets and a back buffer that is read back. The capture tool, the benchmark
// and the end-to-end tests run the intro through this; the author's player
// too, presenting into its window and setting the clock from its sound.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/virtual_audio_device.h"
#include "platform/gpu/gpu.h"
#include "src/gpu_setup.h"
#include "src/renderer.h"
#include "src/soundtrack.h"

struct HeadlessOptions {
  Size screen{640, 360};
  bool validation = false;
  bool timing = false;
  // A window (Window::native_handle) to present into; null: headless.
  void* window = nullptr;
  // Puts a layer of the caller's between the renderer and the device (the
  // benchmark notes when a frame's recording ends and its submission starts).
  std::function<std::unique_ptr<gpu::Device>(std::unique_ptr<gpu::Device>)> wrap_device;
};

struct HeadlessIntro {
  HeadlessOptions options;  // as started; screen is the size rendered now
  std::unique_ptr<gpu::Device> device;
  std::unique_ptr<Renderer> renderer;
  PlaybackState playback;
  platform::VirtualAudioDevice* clock = nullptr;  // owned by playback
  SetupTimings setup;
  double device_ms = 0;
  double playback_start_ms = 0;
};

// Null (and a message in `error`) when no Vulkan device can be made.
std::unique_ptr<HeadlessIntro> start_headless_intro(const HeadlessOptions& options, std::string* error);

// Makes the GPU device and the renderer again at a new screen size (into
// the same window), as at start-up; the soundtrack, the tracks and the clock
// stay as they are. What the passes carried from frame to frame is gone:
// replay it as after a seek. False, with the reason in `error`, when no device
// can be made at that size (the intro then has none: stop it).
bool remake_headless_renderer(HeadlessIntro& intro, Size screen, std::string* error);

// Renders one frame with the device's position at `samples` played sample
// frames; returns the frame's time.
float render_frame_at(HeadlessIntro& intro, uint32_t samples);

// The presented picture, RGBA8, rows top first.
std::vector<uint8_t> back_buffer_pixels(HeadlessIntro& intro);

// Shuts the soundtrack down (device, PCM, tracks) like the intro's exit.
void stop_headless_intro(HeadlessIntro& intro);
