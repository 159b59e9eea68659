#pragma once
// The sound server's own account of this process's playback: how much of
// what the process handed over is not heard yet, the stream's buffer plus
// the sink's latency. SDL plays through the server but does not say this, so
// the server is asked itself, on a connection of its own, over and over.
// For PulseAudio and PipeWire's PulseAudio service (Linux).

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class ServerLatencyProbe {
 public:
  // Runs on the probe's own thread for every answer, with the microseconds held.
  using Answer = std::function<void(std::uint64_t held_us)>;

  // Null when no server can be reached.
  static std::unique_ptr<ServerLatencyProbe> start(Answer on_answer);
  virtual ~ServerLatencyProbe() = default;
};

}  // namespace platform
