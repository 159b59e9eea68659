#include "tools/bench/realtime_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "platform/window/refresh_rate.h"
#include "src/elapsed_time.h"
#include "src/frame_clock.h"
#include "src/headless_intro.h"
#include "tools/bench/bench_run.h"
#include "tools/offline/offline_frames.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/os_process.h"
#include "tools/offline/priming.h"
#include "tools/offline/progress_line.h"

namespace {

using Clock = std::chrono::steady_clock;

// The frame rate the carried effects are replayed at before the first
// frame, as the author's player does after a seek.
constexpr int kReplayFps = 60;

// The soundtrack from `offset` sample frames on, as a block of its own: the
// platform's output plays it from its start, which winmm can do where it
// cannot seek.
platform::WaveBlock block_from(uint32_t offset) {
  platform::WaveBlock block = soundtrack_block;
  const uint32_t bytes = std::min(offset * soundtrack_format.block_align, block.buffer_length);
  block.data = static_cast<char*>(block.data) + bytes;
  block.buffer_length -= bytes;
  return block;
}

struct Sound {
  std::unique_ptr<platform::AudioDevice> device;
  bool real = false;
};

Sound open_sound() {
  Sound s{platform::make_system_audio_device(), true};
  if (!s.device->open(soundtrack_format)) {
    s = {platform::make_wall_clock_audio_device(), false};
    s.device->open(soundtrack_format);
  }
  return s;
}

std::string caveat_of(const std::string& adapter, double refresh_hz) {
  std::string notes;
  auto add = [&notes](const std::string& note) { notes += (notes.empty() ? "" : "; ") + note; };
  const std::string wine = os::wine_version();
  if (!wine.empty())
    add("under Wine " + wine +
        " Direct3D 11 is translated (by Wine to OpenGL, or by DXVK to Vulkan) and "
        "presents to X, so these are the stand-ins' figures, not Windows'");
  if (adapter.find("llvmpipe") != std::string::npos)
    add("the GPU is a software renderer on the CPU, so these are the stand-in's figures, not a GPU's");
  if (refresh_hz <= 0)
    add("the display reports no refresh rate (a virtual display): missed refreshes are not counted");
  return notes;
}

class SectionTimes {
 public:
  void add(const std::string& section, const std::vector<gpu::PassTiming>& passes) {
    if (passes.empty()) return;
    double total = 0;
    for (const auto& p : passes) total += p.milliseconds;
    auto it = std::find(order_.begin(), order_.end(), section);
    if (it == order_.end()) {
      order_.push_back(section);
      ms_.emplace_back();
      it = order_.end() - 1;
    }
    ms_[it - order_.begin()].push_back(total);
  }
  std::vector<SectionGpuTime> report() const {
    std::vector<SectionGpuTime> out;
    for (size_t i = 0; i < order_.size(); ++i) {
      const IntervalStats s = interval_stats(ms_[i]);
      out.push_back({order_[i], s.count, s.median_ms, s.worst_ms});
    }
    return out;
  }

 private:
  std::vector<std::string> order_;
  std::vector<std::vector<double>> ms_;
};

struct Played {
  std::vector<double> intervals_ms;
  SectionTimes gpu;
  double seconds = 0;
  bool ended_early = false;
};

// Frames as the intro draws them, each at the sound's position when it
// starts, until the asked seconds have passed or the intro ends.
Played play(HeadlessIntro& intro, platform::Window& window, platform::AudioDevice& sound, uint32_t offset,
            double seconds) {
  Played p;
  const uint32_t end = std::min(seconds_to_position(kEndSeconds),
                                platform::block_frames(soundtrack_block, soundtrack_format));
  platform::AudioPosition heard;
  Clock::time_point first{}, last{};
  for (bool first_frame = true;; first_frame = false) {
    while (window.handle_one_event()) {
    }
    if (window.escape_pressed() || window.closed()) {
      p.ended_early = true;
      break;
    }
    sound.position(heard);
    const uint32_t position = std::min(heard.sample + offset, end);
    render_frame_at(intro, position);
    const Clock::time_point now = Clock::now();
    if (first_frame) first = now;
    else p.intervals_ms.push_back(ms_between(last, now));
    last = now;
    p.gpu.add(section_at(static_cast<double>(position) / kClockRate), intro.device->last_frame_timings());
    if (ms_between(first, now) >= seconds * 1000.0 || position >= end) break;
  }
  p.seconds = ms_between(first, last) / 1000.0;
  return p;
}

}  // namespace

bool run_realtime(const BenchOptions& o, RealtimeReport* report, std::string* error) {
  platform::DesktopSize desktop;
  if (!platform::desktop_size(&desktop, error)) return false;
  auto window = platform::create_window({.title = "Velmorand bench",
                                         .app_name = "velmorand-bench",
                                         .width = desktop.width,
                                         .height = desktop.height},
                                        error);
  if (!window) return false;
  const Size screen{desktop.width, desktop.height};
  auto intro = start_headless_intro({.screen = screen, .timing = true, .window = window->native_handle()}, error);
  if (!intro) return false;
  const double from = o.at.empty() ? 0.0 : o.at.front();
  const uint32_t offset = seconds_to_position(from);
  const Priming plan = plan_priming(offset, kReplayFps, intro_glitch_credits());
  ProgressLine replayed(static_cast<int64_t>(plan.frames.size()), stderr);
  run_priming(*intro, plan, kReplayFps, [&replayed] { replayed.frame_done(); });

  Sound sound = open_sound();
  platform::WaveBlock block = block_from(offset);
  sound.device->prepare(block);
  sound.device->write(block);
  Played played = play(*intro, *window, *sound.device, offset, o.realtime);
  sound.device->stop();
  sound.device->unprepare(block);
  sound.device->close();

  report->screen = screen;
  report->adapter = intro->device->adapter_name();
  report->refresh_hz = platform::refresh_rate_hz(*window);
  report->caveat = caveat_of(report->adapter, report->refresh_hz);
  report->sound = sound.real;
  report->from_seconds = from;
  report->played_seconds = played.seconds;
  report->ended_early = played.ended_early;
  report->intervals = interval_stats(played.intervals_ms);
  if (report->refresh_hz > 0) report->missed_refreshes = missed_refreshes(played.intervals_ms, report->refresh_hz);
  report->sections = played.gpu.report();
  stop_headless_intro(*intro);
  return true;
}
