#include "tools/bench/bench_run.h"

#include <algorithm>
#include <chrono>

#include "src/elapsed_time.h"
#include "src/frame_clock.h"
#include "src/headless_intro.h"
#include "tools/bench/measuring_device.h"
#include "tools/offline/offline_frames.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/os_process.h"
#include "tools/offline/priming.h"

namespace {

using Clock = std::chrono::steady_clock;

// Per-program times of several frames, programs in the order they first ran.
struct ProgramSamples {
  std::vector<std::string> order;
  std::vector<int> calls;
  std::vector<std::vector<double>> ms;
  std::vector<double> totals;

  void add_frame(const std::vector<gpu::PassTiming>& passes) {
    double total = 0;
    for (const auto& p : per_program(passes)) {
      size_t i = std::find(order.begin(), order.end(), p.program) - order.begin();
      if (i == order.size()) {
        order.push_back(p.program);
        calls.push_back(p.calls);
        ms.emplace_back();
      }
      ms[i].push_back(p.ms);
      total += p.ms;
    }
    totals.push_back(total);
  }
  Spread of(const std::string& program) const {
    size_t i = std::find(order.begin(), order.end(), program) - order.begin();
    return i < ms.size() ? spread_of(ms[i]) : Spread{};
  }
};

std::vector<double> time_fills(HeadlessIntro& intro, uint32_t position, int count) {
  std::vector<double> ms;
  intro.clock->set_position(position);
  for (int i = 0; i < count; ++i) {
    auto start = Clock::now();
    fill_frame_uniforms(*intro.renderer, intro.playback);
    ms.push_back(ms_between(start, Clock::now()));
  }
  return ms;
}

// Frames as the intro renders them: timestamps per pass, the CPU share up to
// the hand-over, the whole frame.
struct FrameSamples {
  ProgramSamples gpu;
  std::vector<double> fill_and_record, frame;
};

FrameSamples time_frames(HeadlessIntro& intro, MeasuringDevice& device, uint32_t position, int count) {
  FrameSamples s;
  for (int i = 0; i < count; ++i) {
    auto start = Clock::now();
    render_frame_at(intro, position);
    auto end = Clock::now();
    s.fill_and_record.push_back(ms_between(start, device.last_present_call()));
    s.frame.push_back(ms_between(start, end));
    s.gpu.add_frame(intro.device->last_frame_timings());
  }
  return s;
}

ProgramSamples time_passes_alone(HeadlessIntro& intro, MeasuringDevice& device, uint32_t position, int count) {
  ProgramSamples alone;
  device.isolate_passes(true);
  for (int i = 0; i < count; ++i) {
    render_frame_at(intro, position);
    alone.add_frame(device.isolated_passes());
  }
  device.isolate_passes(false);
  return alone;
}

TimeReport measure_time(HeadlessIntro& intro, MeasuringDevice& device, double seconds, const BenchOptions& o) {
  const uint32_t position = seconds_to_position(seconds);
  std::vector<double> fills = time_fills(intro, position, o.frames);
  for (int i = 0; i < o.warmup; ++i) render_frame_at(intro, position);
  FrameSamples frames = time_frames(intro, device, position, o.frames);
  ProgramSamples alone = time_passes_alone(intro, device, position, o.frames);
  TimeReport t{seconds,
               section_at(seconds),
               {},
               spread_of(frames.gpu.totals),
               spread_of(alone.totals),
               spread_of(fills),
               spread_of(frames.fill_and_record),
               spread_of(frames.frame)};
  for (size_t i = 0; i < frames.gpu.order.size(); ++i) {
    const std::string& program = frames.gpu.order[i];
    t.passes.push_back({program, frames.gpu.calls[i], frames.gpu.of(program), alone.of(program)});
  }
  return t;
}

StartupReport startup_of(const HeadlessIntro& intro) {
  return {intro.device_ms,         intro.setup.image_decode_ms, intro.setup.uploads_ms,
          intro.setup.programs_ms, intro.setup.lens_dirt_ms,    intro.playback_start_ms};
}

// Wine runs Direct3D 11 by translating it to OpenGL and names an adapter of
// its own choosing, whatever draws underneath (here Mesa on the CPU); with
// DXVK's DLLs beside the exe it is translated to Vulkan instead.
std::string wine_caveat() {
  std::string wine = os::wine_version();
  if (wine.empty()) return {};
  return "under Wine " + wine +
         ": Direct3D 11 translated (by Wine to OpenGL, whose adapter name is a "
         "stand-in, or by DXVK to Vulkan); these times measure the translation on this machine's "
         "driver, not Windows performance";
}

}  // namespace

std::vector<double> default_bench_times() { return {30.0, 80.0, 110.0, 131.0}; }

std::string section_at(double seconds) {
  double row = position_row(seconds_to_position(seconds));
  if (intro_glitch_credits()(row) >= kParticlePathFrom) return "logo particles";
  if (row < kShaftsEndRow) return "scene with sky and sun shafts";
  if (row < kSceneEndRow) return "scene with sky";
  return "finale";
}

bool run_bench(const BenchOptions& o, const KeyListFolder* lists, BenchReport* report, std::string* error) {
  MeasuringDevice* device = nullptr;
  HeadlessOptions start{.screen = o.size, .timing = true};
  start.wrap_device = [&device](std::unique_ptr<gpu::Device> inner) {
    auto wrapped = std::make_unique<MeasuringDevice>(std::move(inner));
    device = wrapped.get();
    return std::unique_ptr<gpu::Device>(std::move(wrapped));
  };
  auto intro = start_headless_intro(start, error);
  if (!intro) return false;
  *error = size_problem(*intro->renderer);
  if (error->empty() && lists && !lay_over_tracks(*lists)) *error = "out of memory for the keys of " + lists->dir;
  if (!error->empty()) {
    stop_headless_intro(*intro);
    return false;
  }
  const Renderer& r = *intro->renderer;
  *report = {o.size,
             {r.renderWidth, r.renderHeight},
             r.bloomLevels,
             intro->device->adapter_name(),
             wine_caveat(),
             o.frames,
             o.warmup,
             startup_of(*intro),
             {}};
  for (double t : o.at.empty() ? default_bench_times() : o.at)
    report->times.push_back(measure_time(*intro, *device, t, o));
  stop_headless_intro(*intro);
  return true;
}
