// velmorand-bench: its reductions, and one short run.
#include <gtest/gtest.h>

#include "tests/tools/tool_process.h"
#include "tools/bench/bench_options.h"
#include "tools/bench/bench_stats.h"
#include "tools/bench/realtime_stats.h"

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

TEST(RealtimeStats, MedianNearestRank99thPercentileAndWorst) {
  std::vector<double> intervals(200, 16.0);
  intervals[7] = 40.0;
  intervals[150] = 90.0;
  intervals[151] = 30.0;
  IntervalStats s = interval_stats(intervals);
  EXPECT_EQ(s.count, 200);
  EXPECT_EQ(s.median_ms, 16.0);
  EXPECT_EQ(s.p99_ms, 30.0);  // rank 198 of 200: the two longest lie above it
  EXPECT_EQ(s.worst_ms, 90.0);
  EXPECT_EQ(interval_stats({25.0}).p99_ms, 25.0);
  EXPECT_EQ(interval_stats({}).count, 0);
}

TEST(RealtimeStats, AnIntervalMissesTheRefreshesItSpansBeyondOne) {
  // At 60 Hz: on time (with jitter either way), one missed, two missed.
  EXPECT_EQ(missed_refreshes({16.7, 15.0, 24.0}, 60.0), 0);
  EXPECT_EQ(missed_refreshes({26.0, 33.3}, 60.0), 2);
  EXPECT_EQ(missed_refreshes({50.0, 1.0}, 60.0), 2);
  EXPECT_EQ(missed_refreshes({50.0}, 144.0), 6);
}

TEST(BenchOptions, RealtimeTakesSecondsAndOneStartTime) {
  auto parse = [](std::vector<const char*> args, std::string* error) {
    args.insert(args.begin(), "velmorand-bench");
    return parse_bench_options(static_cast<int>(args.size()), args.data(), error);
  };
  std::string error;
  auto o = parse({"--realtime", "10", "--at", "30"}, &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->realtime, 10.0);
  EXPECT_FALSE(parse({"--realtime", "0"}, &error));
  EXPECT_FALSE(parse({"--realtime", "10", "--at", "30,60"}, &error));
  EXPECT_NE(error.find("single time"), std::string::npos) << error;
  EXPECT_FALSE(parse({"--realtime", "10", "--choreography", "keys"}, &error));
}

TEST(BenchRun, JsonNamesEveryPassOfEachSectionAndTheStartUp) {
  ToolResult r = run_tool(
      {VELMORAND_BENCH, "--size", "160x90", "--frames", "1", "--warmup", "0", "--at", "30,131", "--json"});
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* expected : {"\"SkyKernel\"", "\"SceneKernel\"", "\"ScatteringKernel\"", "\"LogoParticleStep\"",
                               "\"LogoParticleShade\"", "\"CompositeKernel\"", "\"section\": \"logo particles\"",
                               "\"lens_dirt\"", "\"cpu_fill_and_record\""})
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
