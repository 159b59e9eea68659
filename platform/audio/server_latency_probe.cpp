#include "platform/audio/server_latency_probe.h"

#include <pulse/pulseaudio.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr pa_usec_t kAskEveryUs = 20'000;

class PulseLatencyProbe final : public ServerLatencyProbe {
 public:
  explicit PulseLatencyProbe(Answer on_answer) : on_answer_(std::move(on_answer)) {}
  ~PulseLatencyProbe() override {
    if (loop_) pa_threaded_mainloop_stop(loop_);
    if (timer_) api()->time_free(timer_);
    if (context_) {
      pa_context_disconnect(context_);
      pa_context_unref(context_);
    }
    if (loop_) pa_threaded_mainloop_free(loop_);
  }

  bool connect() {
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) return false;
    context_ = pa_context_new(api(), "velmorand clock");
    if (!context_) return false;
    pa_context_set_state_callback(context_, on_state, this);
    // No autospawn: a server that is not running is not started for a question.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    return pa_threaded_mainloop_start(loop_) == 0;
  }

 private:
  pa_mainloop_api* api() { return pa_threaded_mainloop_get_api(loop_); }

  static void on_state(pa_context* context, void* self) {
    if (pa_context_get_state(context) == PA_CONTEXT_READY) static_cast<PulseLatencyProbe*>(self)->ask();
  }

  static void on_timer(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
    static_cast<PulseLatencyProbe*>(self)->ask();
  }

  void ask() {
    pa_operation* op = pa_context_get_sink_input_info_list(context_, on_info, this);
    if (op) pa_operation_unref(op);
  }

  void ask_again() {
    struct timeval when;
    pa_timeval_add(pa_gettimeofday(&when), kAskEveryUs);
    if (timer_) api()->time_restart(timer_, &when);
    else timer_ = api()->time_new(api(), &when, on_timer, this);
  }

  static void on_info(pa_context*, const pa_sink_input_info* info, int eol, void* self) {
    auto* probe = static_cast<PulseLatencyProbe*>(self);
    if (eol) {
      probe->ask_again();
      return;
    }
    if (info && probe->is_ours(info)) probe->on_answer_(info->buffer_usec + info->sink_usec);
  }

  // The stream SDL opened is this process's one playback stream.
  bool is_ours(const pa_sink_input_info* info) const {
    const char* pid = pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    return pid && std::strtol(pid, nullptr, 10) == static_cast<long>(getpid());
  }

  Answer on_answer_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_time_event* timer_ = nullptr;
};

}  // namespace

std::unique_ptr<ServerLatencyProbe> ServerLatencyProbe::start(Answer on_answer) {
  auto probe = std::make_unique<PulseLatencyProbe>(std::move(on_answer));
  if (!probe->connect()) return nullptr;
  return probe;
}

}  // namespace platform
