// The SDL device's position against what a listener hears, on a PulseAudio
// null sink (null_sink_session.sh starts one): clicks at known samples are
// played, the sink's monitor is recorded with the server's own timing, and
// at the moment a click is heard the device must report that click's sample,
// within 5 ms. On a loaded machine a single reading of the test's own threads
// can be late by more than that, so the median of nine clicks is held to it.
#include <gtest/gtest.h>
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::uint32_t kRate = 44'100;
constexpr double kToleranceMs = 5.0;
constexpr int kClickCount = 9;  // every 0.1 s from 0.1 s

// The sink's monitor, read as it is heard: the server's timing of the record
// stream says how far each sample read lies from the one heard now (for a
// monitor the data comes before it is heard, so that can be negative).
class MonitorRecorder {
 public:
  MonitorRecorder() {
    loop_ = pa_threaded_mainloop_new();
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "velmorand latency test");
    pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr);
    pa_threaded_mainloop_start(loop_);
  }
  ~MonitorRecorder() {
    pa_threaded_mainloop_stop(loop_);
    if (stream_) pa_stream_unref(stream_);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    pa_threaded_mainloop_free(loop_);
  }

  bool start(const char* source) {
    for (auto until = Clock::now() + 5s; Clock::now() < until; std::this_thread::sleep_for(10ms)) {
      pa_threaded_mainloop_lock(loop_);
      const pa_context_state_t state = pa_context_get_state(context_);
      pa_threaded_mainloop_unlock(loop_);
      if (state == PA_CONTEXT_READY) break;
      if (!PA_CONTEXT_IS_GOOD(state)) return false;
    }
    pa_threaded_mainloop_lock(loop_);
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 2};
    stream_ = pa_stream_new(context_, "monitor", &format, nullptr);
    pa_stream_set_read_callback(stream_, on_read, this);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kRate / 1000 * 8;  // a millisecond
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                                                      PA_STREAM_ADJUST_LATENCY);
    const bool ok = pa_stream_connect_record(stream_, source, &attr, flags) == 0;
    pa_threaded_mainloop_unlock(loop_);
    return ok;
  }

  // When each click was heard, in order.
  std::vector<Clock::time_point> heard() {
    std::lock_guard lock(mutex_);
    return heard_;
  }

 private:
  static void on_read(pa_stream* s, size_t, void* self) { static_cast<MonitorRecorder*>(self)->read(s); }

  void read(pa_stream* s) {
    const void* data = nullptr;
    size_t bytes = 0;
    while (pa_stream_peek(s, &data, &bytes) == 0 && bytes > 0) {
      pa_usec_t latency = 0;
      int negative = 0;
      const bool timed = pa_stream_get_latency(s, &latency, &negative) == 0;
      const auto now = Clock::now();
      const auto* samples = static_cast<const float*>(data);
      for (size_t k = 0; data && timed && k < bytes / 8; ++k) {
        const bool loud = samples[2 * k] > 0.5f;
        if (loud && !in_click_) {
          const auto lead = std::chrono::microseconds(negative ? -static_cast<std::int64_t>(latency)
                                                               : static_cast<std::int64_t>(latency));
          std::lock_guard lock(mutex_);
          heard_.push_back(now - lead + std::chrono::microseconds(k * 1'000'000 / kRate));
        }
        in_click_ = loud;
      }
      pa_stream_drop(s);
    }
  }

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  bool in_click_ = false;
  std::mutex mutex_;
  std::vector<Clock::time_point> heard_;
};

struct Reading {
  Clock::time_point at;
  std::uint32_t frames;
};

// The position at `when`, between the readings around it.
double position_at(const std::vector<Reading>& readings, Clock::time_point when) {
  auto after = std::find_if(readings.begin(), readings.end(), [&](const Reading& r) { return r.at >= when; });
  if (after == readings.begin() || after == readings.end()) return -1e9;
  auto before = after - 1;
  const double span = std::chrono::duration<double>(after->at - before->at).count();
  const double part = span > 0 ? std::chrono::duration<double>(when - before->at).count() / span : 0;
  return before->frames + part * (double(after->frames) - before->frames);
}

TEST(SdlDeviceOnASoundServer, ReportsTheSampleTheListenerHears) {
  setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
  MonitorRecorder recorder;
  ASSERT_TRUE(recorder.start("null.monitor"));
  std::vector<float> pcm(2 * kRate, 0.0f);
  for (int k = 1; k <= kClickCount; ++k)
    for (std::uint32_t i = 0; i < 8; ++i) pcm[2 * (k * kRate / 10 + i)] = pcm[2 * (k * kRate / 10 + i) + 1] = 0.9f;
  platform::WaveFormat format{platform::kWaveFormatIeeeFloat, 2, kRate, kRate * 8, 8, 32, 0};
  platform::WaveBlock block{pcm.data(), static_cast<std::uint32_t>(pcm.size() * sizeof(float))};
  auto device = platform::make_sdl_audio_device();
  ASSERT_TRUE(device->open(format));
  device->prepare(block);
  device->write(block);
  std::vector<Reading> readings;
  platform::AudioPosition position;
  for (const auto until = Clock::now() + 1200ms; Clock::now() < until; std::this_thread::sleep_for(200us)) {
    device->position(position);
    readings.push_back({Clock::now(), position.sample});
  }
  device->stop();
  device->unprepare(block);
  device->close();

  EXPECT_EQ(readings.back().frames, kRate) << "the count must reach the block's end once it is heard";
  const auto heard = recorder.heard();
  ASSERT_EQ(heard.size(), static_cast<size_t>(kClickCount));
  std::vector<double> off_ms;
  for (int k = 1; k <= kClickCount; ++k) {
    off_ms.push_back((position_at(readings, heard[k - 1]) - k * kRate / 10) * 1000.0 / kRate);
    std::printf("click at %.1f s: the device is %+.2f ms from the sample heard\n", k / 10.0, off_ms.back());
  }
  std::nth_element(off_ms.begin(), off_ms.begin() + kClickCount / 2, off_ms.end());
  EXPECT_NEAR(off_ms[kClickCount / 2], 0.0, kToleranceMs) << "the median click";
}

}  // namespace
