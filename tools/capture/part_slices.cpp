#include "tools/capture/part_slices.h"

#include <algorithm>

#include "tools/offline/frame_grid.h"

namespace {

// Milliseconds of a captured frame at 640x360 on an otherwise idle 2-core
// AMD EPYC with lavapipe (processor time of windows of 30 frames in each
// section, divided by the 1.81 threads a frame keeps busy): the sky is drawn
// at a fixed size while it shows, everything else scales with the screen.
constexpr double kSkyMs = 147.0;
constexpr double kReferencePixels = 640.0 * 360.0;
constexpr double kSceneMs = 176.0;     // scene (with or without sun shafts), bloom, composite, read-back
constexpr double kFinaleMs = 155.0;    // finale, bloom, composite, read-back
constexpr double kParticlesMs = 80.0;  // particle step and shade, bloom, composite, read-back

struct Costs {
  std::vector<double> frame_ms;  // of each frame of the range
  SliceRequest request;
  GlitchCreditsAt glitch_credits_at;

  double frame_at(int64_t k) const {
    double row = position_row(frame_position(k, request.fps));
    return expected_frame_ms(row, glitch_credits_at(row), double(request.screen.width) * request.screen.height);
  }
  double priming_ms(int64_t start) const {
    double ms = 0;
    for (int64_t k : plan_priming(frame_position(start, request.fps), request.fps, glitch_credits_at).frames)
      ms += k >= request.first && k < request.end ? frame_ms[k - request.first] : frame_at(k);
    return ms;
  }
};

// Parts that each come as close as they can to `share`, priming included;
// every part keeps at least one frame.
std::vector<FrameSlice> cut(const Costs& costs, double share) {
  const SliceRequest& r = costs.request;
  std::vector<FrameSlice> slices;
  int64_t start = r.first;
  for (int part = 0; part < r.parts; ++part) {
    int64_t last_end = r.end - (r.parts - 1 - part), stop = start + 1;
    double ms = costs.priming_ms(start) + costs.frame_ms[start - r.first];
    while (part + 1 < r.parts && stop < last_end) {
      double next = costs.frame_ms[stop - r.first];
      if (ms + next / 2 > share) break;
      ms += next;
      ++stop;
    }
    if (part + 1 == r.parts) stop = r.end;
    slices.push_back({start, stop - start});
    start = stop;
  }
  return slices;
}

double longest_ms(const Costs& costs, const std::vector<FrameSlice>& slices, double* total) {
  double longest = 0;
  *total = 0;
  for (const FrameSlice& s : slices) {
    double ms = costs.priming_ms(s.first);
    for (int64_t k = s.first; k < s.first + s.count; ++k) ms += costs.frame_ms[k - costs.request.first];
    longest = std::max(longest, ms);
    *total += ms;
  }
  return longest;
}

}  // namespace

double expected_frame_ms(double row, double glitch_credits, double pixels) {
  double scaled = glitch_credits >= kParticlePathFrom ? kParticlesMs : row < kSceneEndRow ? kSceneMs : kFinaleMs;
  return (row < kSceneEndRow ? kSkyMs : 0.0) + scaled * pixels / kReferencePixels;
}

std::vector<FrameSlice> split_frames(const SliceRequest& request, const GlitchCreditsAt& glitch_credits_at,
                                     std::string* error) {
  if (request.end - request.first < request.parts) {
    *error = "the range holds " + std::to_string(request.end - request.first) + " frames, too few for " +
             std::to_string(request.parts) + " parts";
    return {};
  }
  Costs costs{{}, request, glitch_credits_at};
  for (int64_t k = request.first; k < request.end; ++k) costs.frame_ms.push_back(costs.frame_at(k));
  // Where the cuts fall changes what the parts replay, so the share is
  // refined from the priming of the last cuts, and the most even cut kept.
  double total = 0;
  for (double ms : costs.frame_ms) total += ms;
  std::vector<FrameSlice> best;
  double best_longest = 0;
  double share = total / request.parts;
  for (int round = 0; round < 8; ++round) {
    std::vector<FrameSlice> slices = cut(costs, share);
    double longest = longest_ms(costs, slices, &total);
    if (best.empty() || longest < best_longest) best = slices, best_longest = longest;
    share = total / request.parts;
  }
  return best;
}
