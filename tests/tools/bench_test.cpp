// velmorand-bench: its reductions, and one short run.
#include <gtest/gtest.h>

#include "tests/tools/tool_process.h"
#include "tools/bench/bench_stats.h"

namespace {

TEST(BenchStats, MedianAndMinimumOfOddAndEvenCounts) {
  Spread odd = spread_of({5.0, 1.0, 3.0});
  EXPECT_EQ(odd.median_ms, 3.0);
  EXPECT_EQ(odd.min_ms, 1.0);
  Spread even = spread_of({4.0, 1.0, 3.0, 2.0});
  EXPECT_EQ(even.median_ms, 2.5);
  EXPECT_EQ(even.min_ms, 1.0);
  EXPECT_EQ(spread_of({}).median_ms, 0.0);
}

TEST(BenchStats, PassesOfOneProgramAddUpInTheOrderProgramsFirstRan) {
  auto programs = per_program({{"BloomBrightPass", 1.0},
                               {"BloomDownsample", 0.5},
                               {"BloomDownsample", 0.25},
                               {"BloomUpsample", 2.0},
                               {"BloomDownsample", 0.25}});
  ASSERT_EQ(programs.size(), 3u);
  EXPECT_EQ(programs[1].program, "BloomDownsample");
  EXPECT_EQ(programs[1].calls, 3);
  EXPECT_EQ(programs[1].ms, 1.0);
  EXPECT_EQ(programs[2].program, "BloomUpsample");
}

TEST(BenchRun, JsonNamesEveryPassOfEachSectionAndTheStartUp) {
  ToolResult r = run_tool({VELMORAND_BENCH, "--size", "160x90", "--frames", "1", "--warmup", "0",
                           "--at", "30,131", "--json"});
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* expected : {"\"SkyKernel\"", "\"SceneKernel\"", "\"ScatteringKernel\"",
                               "\"LogoParticleStep\"", "\"LogoParticleShade\"", "\"CompositeKernel\"",
                               "\"section\": \"logo particles\"", "\"lens_dirt\"", "\"cpu_fill_and_record\""})
    EXPECT_NE(r.output.find(expected), std::string::npos) << expected << "\n" << r.output;
}

TEST(BenchRun, BadArgumentsAreRefused) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--frames", "0"}, "--frames"},
      {{"--at", "30", "--at", "40"}, "--at is given twice"},
      {{"--choreography", "/nonexistent"}, "/nonexistent: no such folder"},
  };
  for (const auto& [args, says] : cases) {
    std::vector<std::string> argv = {VELMORAND_BENCH};
    argv.insert(argv.end(), args.begin(), args.end());
    ToolResult r = run_tool(argv);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find(says), std::string::npos) << r.output;
  }
}

}  // namespace
