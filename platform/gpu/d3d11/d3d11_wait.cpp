#include "platform/gpu/d3d11/d3d11_wait.h"

#include <atomic>
#include <chrono>

namespace gpu::d3d11 {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<uint64_t> waits{0};
std::atomic<uint64_t> sleeps{0};

// Between polls the thread only yields. It never sleeps: on Windows a
// Sleep(1) lasts a whole timer tick (up to about 15.6 ms) unless the process
// raises the timer resolution, nearly a 60 Hz frame on its own. A yield that
// still kept the thread away a millisecond or more is counted.
void pause() {
  const auto before = Clock::now();
  if (!SwitchToThread()) YieldProcessor();
  if (Clock::now() - before >= std::chrono::milliseconds(1)) ++sleeps;
}

}  // namespace

HRESULT wait_for(ID3D11DeviceContext* context, ID3D11Asynchronous* query, void* data, UINT size) {
  ++waits;
  HRESULT hr;
  while ((hr = context->GetData(query, data, size, 0)) == S_FALSE) pause();
  return hr;
}

WaitCounts wait_counts() { return {waits.load(), sleeps.load()}; }

}  // namespace gpu::d3d11
