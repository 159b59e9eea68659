// Runs a fuzz target's checks over every input of its corpus folder in the
// repository: the seeds and each input that once found a fault.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzCorpus, EveryInputPassesTheChecks) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VELMORAND_FUZZ_CORPUS)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(file), {}};
    SCOPED_TRACE(entry.path().string());
    LLVMFuzzerTestOneInput(input.data(), input.size());  // a failed check aborts, naming it
    ++inputs;
  }
  EXPECT_GE(inputs, 3) << "the corpus " VELMORAND_FUZZ_CORPUS " is missing";
}
