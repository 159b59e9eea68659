// One frame's track work as the runtime does it: the six camera tracks at the
// look-ahead row, then all 21 tracks at the frame's row (27 evaluations), each
// narrowed to float32, with the playback time moving on by 1/60 s per frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "src/pass_schedule.h"
#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "sync/track.h"
#include "tools/bench_sync/counting_allocator.h"

namespace {

bool g_allocated_in_a_frame = false;

void BM_FrameTracks(benchmark::State& state) {
  float values[27];
  float seconds = 0.0f;
  const long before = allocation_count();
  for (auto _ : state) {
    const double ahead = seconds_to_row(seconds, kLookAheadSeconds);
    const double now = seconds_to_row(seconds, 0.0);
    for (int i = 0; i < 6; ++i) values[i] = static_cast<float>(track_value_at(track_table[i], ahead));
    for (int i = 0; i < kSyncTrackCount; ++i)
      values[6 + i] = static_cast<float>(track_value_at(track_table[i], now));
    benchmark::DoNotOptimize(values);
    benchmark::ClobberMemory();
    seconds += 1.0f / 60.0f;
    if (seconds >= kEndSeconds) seconds = 0.0f;
  }
  const long allocations = allocation_count() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  if (allocations != 0) {
    g_allocated_in_a_frame = true;
    state.SkipWithError("the frame's track work allocated memory");
  }
}
BENCHMARK(BM_FrameTracks);

// The counter must see allocations, or a zero would prove nothing.
bool counter_sees_allocations() {
  const long before = allocation_count();
  int* object = new int(1);
  benchmark::DoNotOptimize(object);
  delete object;
  void* block = std::malloc(16);
  benchmark::DoNotOptimize(block);
  std::free(block);
  return allocation_count() - before == 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (!counter_sees_allocations()) {
    std::fprintf(stderr, "velmorand-sync-bench: the counting allocator is not in use\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  TrackRegistry* registry = start_sync_tracks();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  registry_destroy(registry);
  return g_allocated_in_a_frame ? 1 : 0;
}
