// The main loop's end conditions, on a recording GPU device, a virtual clock
// and a scripted window.
#include <deque>
#include <vector>

#include "src/frame_clock.h"
#include "src/gpu_setup.h"
#include "src/main_loop.h"
#include "tests/runtime/clock_fixture.h"

namespace {

class ScriptedWindow final : public platform::Window {
 public:
  std::deque<bool> events;  // true: an event is waiting at that iteration
  int escape_after = -1;    // escape_pressed() calls before Escape is down
  bool close_now = false;
  const Renderer* watch = nullptr;  // frame times are read off it at every test
  std::vector<float> times;
  void* native_handle() override { return nullptr; }
  bool handle_one_event() override {
    if (events.empty()) return false;
    bool e = events.front();
    events.pop_front();
    return e;
  }
  bool escape_pressed() override {
    if (watch) times.push_back(watch->uniforms.time);
    return escape_after >= 0 && escape_after-- == 0;
  }
  bool closed() const override { return close_now; }
  void set_title(const char*) override {}
};

class MainLoop : public ClockFixture {
 protected:
  void SetUp() override {
    ClockFixture::SetUp();
    ASSERT_EQ(present_startup_clear(renderer), "");
    ASSERT_EQ(create_gpu_resources(renderer), "");
  }
  Renderer renderer{device, {64, 32}};
  ScriptedWindow window;
};

TEST_F(MainLoop, EndsOnTheFirstFrameAt136Seconds) {
  // The clock moves on at every reading, so the run crosses 136 s after a
  // few dozen frames; every frame before the last was short of the end.
  start_at(5800000, 400);
  window.watch = &renderer;
  LoopResult r = run_main_loop(renderer, playback, window);
  ASSERT_GT(window.times.size(), 2u);
  EXPECT_EQ(static_cast<long>(window.times.size()), r.frames);
  EXPECT_GE(window.times.back(), kEndSeconds);
  EXPECT_EQ(window.times.back(), r.last_frame_time);
  for (size_t i = 0; i + 1 < window.times.size(); ++i) EXPECT_LT(window.times[i], kEndSeconds);
}

TEST_F(MainLoop, EscapeHeldAtStartStillRunsOneIteration) {
  start_at(44100);
  window.escape_after = 0;
  LoopResult r = run_main_loop(renderer, playback, window);
  EXPECT_EQ(r.frames, 1);
  window.escape_after = 0;
  window.events = {true};
  r = run_main_loop(renderer, playback, window);
  EXPECT_EQ(r.frames, 0) << "that iteration handled an event instead";
  EXPECT_EQ(r.events, 1);
}

TEST_F(MainLoop, EventsDelayFramesButNotTheClock) {
  start_at(44100);
  window.events = {true, true, true, false, true};
  window.escape_after = 5;
  LoopResult r = run_main_loop(renderer, playback, window);
  EXPECT_EQ(r.events, 4);
  EXPECT_EQ(r.frames, 2);
  EXPECT_EQ(renderer.uniforms.frame, 2u) << "only rendered frames are counted";
}

TEST_F(MainLoop, ClosingTheWindowEndsTheRun) {
  start_at(44100);
  window.close_now = true;
  LoopResult r = run_main_loop(renderer, playback, window);
  EXPECT_EQ(r.frames, 1);
  EXPECT_LT(r.last_frame_time, kEndSeconds);
}

}  // namespace
