// Runs the fuzz target's checks over a fixed set of inputs in every build: the
// 21 exported track files, each cut short, and deterministic mutations of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "sync/choreography.h"
#include "tools/tracks/export_tracks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> exported_file(int i) {
  const CompiledTrack& c = compiled_tracks[i];
  std::vector<TrackKey> keys;
  for (int k = 0; k < c.key_count; ++k) {
    keys.push_back(TrackKey{c.rows[k], c.values[k], static_cast<Interpolation>(c.codes[k])});
  }
  const auto bytes = track_file_bytes(keys.data(), c.key_count);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// (Each rejected file reports one line on stderr, as it should.)
void run(const std::vector<std::uint8_t>& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

TEST(FuzzReplay, ExportedFilesAndTheirMutations) {
  std::mt19937 rng(2024);
  int inputs = 0;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const std::vector<std::uint8_t> seed = exported_file(i);
    run(seed);
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, seed.size() / 2, seed.size() - 1}) {
      run(std::vector<std::uint8_t>(seed.begin(), seed.begin() + static_cast<long>(cut)));
    }
    for (int m = 0; m < 200; ++m) {
      std::vector<std::uint8_t> input = seed;
      const int flips = 1 + static_cast<int>(rng() % 4);
      for (int f = 0; f < flips; ++f) input[rng() % input.size()] = static_cast<std::uint8_t>(rng());
      run(input);
      inputs += 1;
    }
    inputs += 5;
  }
  for (int m = 0; m < 2000; ++m) {
    std::vector<std::uint8_t> input(rng() % 64);
    for (auto& byte : input) byte = static_cast<std::uint8_t>(rng());
    if (input.size() >= 4 && m % 2 == 0) input[3] = 0;  // small counts, so keys get read
    run(input);
    ++inputs;
  }
  EXPECT_EQ(inputs, kSyncTrackCount * 205 + 2000);
}

}  // namespace
