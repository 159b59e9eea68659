#include "platform/gpu/d3d11/d3d11_wait.h"

#include <atomic>
#include <chrono>

namespace gpu::d3d11 {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<uint64_t> waits{0};
std::atomic<uint64_t> sleeps{0};

// The first milliseconds spin (a frame's end is usually close), then the
// thread sleeps between polls so a long wait leaves the processor to others.
void pause(Clock::time_point wait_started) {
  const auto before = Clock::now();
  if (before - wait_started < std::chrono::milliseconds(2)) SwitchToThread();
  else Sleep(1);
  if (Clock::now() - before >= std::chrono::milliseconds(1)) ++sleeps;
}

}  // namespace

HRESULT wait_for(ID3D11DeviceContext* context, ID3D11Asynchronous* query, void* data, UINT size) {
  ++waits;
  const auto start = Clock::now();
  HRESULT hr;
  while ((hr = context->GetData(query, data, size, 0)) == S_FALSE) pause(start);
  return hr;
}

WaitCounts wait_counts() { return {waits.load(), sleeps.load()}; }

}  // namespace gpu::d3d11
