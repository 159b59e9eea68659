// Capturing in parts: where the cuts fall, the part records, the options,
// and the join's judgement of the parts it is given.
#include <gtest/gtest.h>

#include <numeric>

#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "sync/track.h"
#include "tools/capture/capture_parts.h"
#include "tools/offline/frame_grid.h"
#include "tools/capture/join_parts.h"

namespace {

class PartSlices : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registry = start_sync_tracks(); }
  static void TearDownTestSuite() { registry_destroy(registry); }
  static double glitch_credits(double row) { return track_value_at(track_table[20], row); }

  // Each part's expected cost with what it replays first.
  static std::vector<double> costs(const SliceRequest& r, const std::vector<FrameSlice>& slices) {
    auto frame_ms = [&](int64_t k) {
      double row = position_row(frame_position(k, r.fps));
      return expected_frame_ms(row, glitch_credits(row), double(r.screen.width) * r.screen.height);
    };
    std::vector<double> result;
    for (const FrameSlice& s : slices) {
      double ms = 0;
      for (int64_t k : plan_priming(frame_position(s.first, r.fps), r.fps, glitch_credits).frames)
        ms += frame_ms(k);
      for (int64_t k = s.first; k < s.first + s.count; ++k) ms += frame_ms(k);
      result.push_back(ms);
    }
    return result;
  }
  static TrackRegistry* registry;
};
TrackRegistry* PartSlices::registry = nullptr;

TEST_F(PartSlices, PartsCoverTheRangeInOrderAtNearEqualCost) {
  for (SliceRequest r : {SliceRequest{0, 4080, 8, 30, {640, 360}}, SliceRequest{0, 8160, 64, 60, {1920, 1080}},
                         SliceRequest{3819, 3864, 3, 30, {160, 90}}}) {
    std::string error;
    std::vector<FrameSlice> slices = split_frames(r, glitch_credits, &error);
    ASSERT_EQ(slices.size(), size_t(r.parts)) << error;
    int64_t next = r.first;
    for (const FrameSlice& s : slices) {
      EXPECT_EQ(s.first, next);
      EXPECT_GE(s.count, 1);
      next = s.first + s.count;
    }
    EXPECT_EQ(next, r.end);
    std::vector<double> ms = costs(r, slices);
    // A part that ends the range inside the particle section costs at least
    // what its last frame alone does, with every frame since the seed
    // replayed: no cut makes that shorter.
    double total = std::accumulate(ms.begin(), ms.end(), 0.0);
    double unavoidable = costs(r, {{r.end - 1, 1}})[0];
    EXPECT_LE(*std::max_element(ms.begin(), ms.end()), std::max(1.05 * total / r.parts, unavoidable))
        << r.parts << " parts";
  }
}

TEST_F(PartSlices, MorePartsThanFramesIsRefused) {
  std::string error;
  EXPECT_TRUE(split_frames({100, 103, 4, 30, {160, 90}}, glitch_credits, &error).empty());
  EXPECT_NE(error.find("3 frames"), std::string::npos) << error;
}

TEST(PartOptions, PartAndCheckAreTakenOutOfTheArguments) {
  std::vector<std::string> args = {"velmorand-capture", "--size", "160x90", "--part", "2/8",
                                   "--check",           "--out",  "x.mp4"};
  std::optional<PartRequest> request;
  std::string error;
  ASSERT_TRUE(take_part_options(args, &request, &error)) << error;
  ASSERT_TRUE(request);
  EXPECT_EQ(request->part, 2);
  EXPECT_EQ(request->parts, 8);
  EXPECT_TRUE(request->check);
  EXPECT_EQ(args, (std::vector<std::string>{"velmorand-capture", "--size", "160x90", "--out", "x.mp4"}));
  for (std::vector<std::string> bad : {std::vector<std::string>{"c", "--part=8/8"},
                                       {"c", "--part", "3"},
                                       {"c", "--part", "-1/4"},
                                       {"c", "--part"},
                                       {"c", "--check"},
                                       {"c", "--part", "1/4", "--part=2/4"}}) {
    std::optional<PartRequest> none;
    EXPECT_FALSE(take_part_options(bad, &none, &error)) << bad.back();
  }
}

PartRecord record(int part, int64_t first, int64_t count) {
  PartRecord r;
  r.from = 127.3, r.to = 128.8, r.range_first = 3819, r.range_end = 3864, r.fps = 30, r.size = {160, 90};
  r.parts = 3, r.part = part, r.first_frame = first, r.frame_count = count;
  r.priming_frames = 12, r.priming_seconds = 0.719, r.total_seconds = 2.984;
  r.choreography = "0123456789abcdef";
  return r;
}

TEST(PartRecords, ARecordReadsBackAndAPartialOneDoesNot) {
  PartRecord r = record(2, 3847, 17);
  std::string json = record_json(r);
  auto back = parse_record(json);
  ASSERT_TRUE(back);
  EXPECT_TRUE(same_capture(*back, r));
  EXPECT_EQ(back->part, 2);
  EXPECT_EQ(back->first_frame, 3847);
  EXPECT_EQ(back->frame_count, 17);
  EXPECT_EQ(back->priming_frames, 12);
  EXPECT_DOUBLE_EQ(back->priming_seconds, 0.719);
  EXPECT_EQ(back->choreography, r.choreography);
  EXPECT_FALSE(parse_record(json.substr(0, json.size() / 2)));
  EXPECT_EQ(record_path("parts/frames/"), "parts/frames.part.json");
}

TEST(PartRecords, TheEarlierWritersRecordsReadAndEveryBadFieldIsNamed) {
  const std::string earlier =
      "{\"from\":127.3,\"to\":128.8,\"range_first\":3819,\"range_end\":3864,\"fps\":30,"
      "\"width\":160,\"height\":90,\"crf\":0,\"parts\":3,\"choreography\":\"0123456789abcdef\",\n"
      " \"part\":2,\"first_frame\":3847,\"frame_count\":17,\n"
      " \"priming_frames\":12,\"priming_seconds\":0.719,\"frames_seconds\":0.000,\"total_seconds\":2.984}\n";
  auto read = parse_record(earlier);
  ASSERT_TRUE(read);
  EXPECT_TRUE(same_capture(*read, record(2, 3847, 17)));
  EXPECT_TRUE(same_keys(*read, record(2, 3847, 17)));
  const std::pair<std::string, std::string> bad[] = {
      {"\"range_first\":3819", "\"range_first\":4.4e28"},
      {"\"range_end\":3864", "\"range_end\":18446744073709551615"},
      {"\"fps\":30", "\"fps\":\"30\""},
      {"\"crf\":0", "\"crf\":-1"},
      {"\"part\":2", "\"part\":3"},
      {"\"width\":160,", ""},
      {"\"total_seconds\":2.984", "\"total_seconds\":null"},
      {"\"choreography\":\"0123456789abcdef\"", "\"choreography\":\"\\\"\""},
  };
  for (const auto& [field, replacement] : bad) {
    std::string text = earlier, error;
    text.replace(text.find(field), field.size(), replacement);
    EXPECT_FALSE(parse_record(text, "p.mp4.part.json", &error)) << text;
    EXPECT_NE(error.find("p.mp4.part.json: " + field.substr(0, field.find(':'))), std::string::npos) << error;
  }
}

TEST(JoinCoverage, EveryPartMissingDoubledForeignOrUnfinishedIsNamed) {
  GivenPart p0{"p0.mp4", record(0, 3819, 12)}, p1{"p1.mp4", record(1, 3831, 16)},
      p2{"p2.mp4", record(2, 3847, 17)};
  std::vector<GivenPart> whole = {p2, p0, p1};
  EXPECT_EQ(coverage_problems(whole), "");
  EXPECT_EQ(whole[0].path, "p0.mp4") << "joined in frame order";
  EXPECT_EQ(whole[2].path, "p2.mp4");

  GivenPart foreign = p1;
  foreign.path = "other.mp4";
  foreign.record->fps = 25;
  GivenPart shifted = p1;
  shifted.record->first_frame += 1;
  GivenPart edited = p2;
  edited.record->choreography = "fedcba9876543210";
  const std::pair<std::vector<GivenPart>, std::vector<const char*>> cases[] = {
      {{p0, p2}, {"part 1/3 is missing (frames 3831 to 3846)"}},
      {{p0, p1}, {"part 2/3 is missing (frames 3847 to 3863)"}},
      {{p0, p0, p1, p2}, {"part 0/3 is given twice: p0.mp4 and p0.mp4"}},
      {{p0, foreign, p2, p1}, {"other.mp4 is a part of another capture", "at 25 fps"}},
      {{p0, {"p1.mp4", std::nullopt}, p2}, {"p1.mp4 has no record p1.mp4.part.json"}},
      {{p0, shifted, p2}, {"starts at frame 3832, not 3831"}},
      {{p0, p1, edited}, {"p2.mp4 was made from other key lists (digest fedcba9876543210, not 0123456789abcdef)"}},
  };
  for (auto [parts, says] : cases)
    for (const char* text : says) EXPECT_NE(coverage_problems(parts).find(text), std::string::npos) << text;
}

}  // namespace
