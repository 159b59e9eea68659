// The choreography's picture: each segment's shape by its interpolation, the
// range it is cut to, and what the picture holds (panels, groups, dots,
// section lines) for the tracks given.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sync/track.h"
#include "tools/tracks/plot_svg.h"

namespace {

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct TestTrack {
  std::string name;
  std::vector<TrackKey> keys;
  Track track() { return Track{name.data(), keys.data(), static_cast<int32_t>(keys.size())}; }
};

// Keys at rows 16, 32, 48, 64 with each mode once, then a last one at 80.
TestTrack every_mode(const char* name) {
  return {name,
          {{16, 1, Interpolation::Step},
           {32, 2, Interpolation::Linear},
           {48, 4, Interpolation::Smooth},
           {64, 0, Interpolation::Ramp},
           {80, 3, Interpolation::Step}}};
}

TEST(PlotCurve, EachSegmentTakesItsKeysInterpolation) {
  TestTrack t = every_mode("scene:x");
  const Track track = t.track();
  const auto points = curve_points(track, 0, 96, 8);
  // Held before the first key; a step holds to the next key, then jumps.
  EXPECT_EQ(points.front().row, 0);
  EXPECT_EQ(points.front().value, 1);
  auto at = [&](double row) {
    std::vector<double> values;
    for (const CurvePoint& p : points)
      if (p.row == row) values.push_back(p.value);
    return values;
  };
  EXPECT_EQ(at(32), (std::vector<double>{1, 2}));
  // A line needs no point between its keys; eased segments are sampled on
  // the curve the runtime evaluates.
  for (const CurvePoint& p : points) {
    if (p.row > 32 && p.row < 48) ADD_FAILURE() << "a point inside the linear segment at row " << p.row;
    if (p.row > 48 && p.row < 80) EXPECT_DOUBLE_EQ(p.value, track_value_at(&track, p.row)) << p.row;
  }
  EXPECT_EQ(at(50).size(), 1u);  // smooth: 16 rows, 8 samples
  EXPECT_EQ(at(58).size(), 1u);  // ramp
  // Held after the last key, to the end.
  EXPECT_EQ(points.back().row, 96);
  EXPECT_EQ(points.back().value, 3);
}

TEST(PlotCurve, ARangeCutsSegmentsWhereTheyAreAtItsEdges) {
  TestTrack t = every_mode("scene:x");
  const Track track = t.track();
  const auto points = curve_points(track, 40, 56, 8);
  EXPECT_EQ(points.front().row, 40);
  EXPECT_DOUBLE_EQ(points.front().value, track_value_at(&track, 40));  // halfway up the line
  EXPECT_EQ(points.back().row, 56);
  EXPECT_DOUBLE_EQ(points.back().value, track_value_at(&track, 56));
  for (const CurvePoint& p : points) {
    EXPECT_GE(p.row, 40);
    EXPECT_LE(p.row, 56);
  }
}

TEST(PlotPicture, APanelPerTrackUnderItsGroupWithTheKeysAndSectionsInRange) {
  TestTrack a = every_mode("camera:a"), b = every_mode("camera:b"), c = every_mode("fade:c");
  const Track tracks[] = {a.track(), b.track(), c.track()};
  PlotRequest request{.from = 2.5, .to = 6, .section_rows = {0, 48, 64, 200}, .subtitle = "test & more"};
  const std::string svg = plot_svg({&tracks[0], &tracks[1], &tracks[2]}, request);
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(occurrences(svg, "class='panel'"), 3);
  EXPECT_EQ(occurrences(svg, "class='group'"), 2);
  EXPECT_EQ(occurrences(svg, ">camera<"), 1);
  // Rows 40 to 96: keys at 48, 64 and 80 in each track, sections at 48 and 64.
  EXPECT_EQ(occurrences(svg, "<circle") - 4 /* the legend */, 9);
  EXPECT_EQ(occurrences(svg, "class='section'"), 2);
  EXPECT_NE(svg.find("row 64<"), std::string::npos);
  EXPECT_NE(svg.find("test &amp; more"), std::string::npos);
}

}  // namespace
