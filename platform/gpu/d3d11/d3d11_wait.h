#pragma once
// The one place where the Direct3D 11 layer waits for the GPU. Every wait
// polls a query through here, so tests can see how often the layer waited
// and how often a wait kept its thread off the processor for a millisecond
// or more (a sleep, by its effect on the frame).

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <d3d11.h>

#include <cstdint>

namespace gpu::d3d11 {

struct WaitCounts {
  uint64_t waits = 0;   // waits begun
  uint64_t sleeps = 0;  // pauses between two polls that lasted 1 ms or more
};

// Polls `query` until its data is in; returns the last GetData result
// (S_OK, or the failure that ended the wait).
HRESULT wait_for(ID3D11DeviceContext* context, ID3D11Asynchronous* query, void* data, UINT size);

// Since the process started, over every device.
WaitCounts wait_counts();

}  // namespace gpu::d3d11
