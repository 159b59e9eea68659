// The start-up pause the soundtrack costs: decoding the whole embedded stream.
//   soundtrack_decode_benchmark --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include "src/asset_catalog.h"
#include "src/soundtrack.h"

namespace {

void decode_embedded_soundtrack(benchmark::State& state) {
  const AssetBytes stream = soundtrack_asset();
  for (auto _ : state) {
    benchmark::DoNotOptimize(decode_soundtrack(stream.data, stream.size));
    release_soundtrack_pcm();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size));
}
BENCHMARK(decode_embedded_soundtrack)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
