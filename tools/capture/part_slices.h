#pragma once
// How a capture's frames are split into parts for separate machines:
// contiguous slices whose expected cost, counting the earlier frames each
// part replays to rebuild the carried effects, is near-equal. A frame's cost
// follows the passes it runs; the costs were measured on a CPU device, where
// a late part of the particle section also replays up to 8 s of frames.

#include <cstdint>
#include <string>
#include <vector>

#include "src/render_sizes.h"
#include "tools/offline/priming.h"

struct FrameSlice {
  int64_t first = 0;
  int64_t count = 0;
};

// Expected milliseconds of one frame at `row` with the given
// "PostProcess:glitchCredits", on a screen of `pixels` pixels.
double expected_frame_ms(double row, double glitch_credits, double pixels);

struct SliceRequest {
  int64_t first = 0, end = 0;  // the range's frames [first, end)
  int parts = 1;
  int fps = 60;
  Size screen;
};

// The parts in order; empty, with the reason in `error`, when there are
// fewer frames than parts.
std::vector<FrameSlice> split_frames(const SliceRequest& request, const GlitchCreditsAt& glitch_credits_at,
                                     std::string* error);
