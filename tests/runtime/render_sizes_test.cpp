// Render size and bloom chain for the screens the intro meets.
#include <gtest/gtest.h>

#include "src/render_sizes.h"

namespace {

TEST(RenderSize, WidthIsCappedAt1920WithTheFloatRoundingKept) {
  struct Case {
    Size screen, render;
  };
  const Case cases[] = {
      {{1920, 1080}, {1920, 1080}}, {{2048, 1152}, {1919, 1080}}, {{2560, 1440}, {1920, 1080}},
      {{3440, 1440}, {1920, 803}},  {{3840, 2160}, {1920, 1080}}, {{1280, 1024}, {1280, 1024}},
      {{1366, 768}, {1366, 768}},   {{640, 360}, {640, 360}},
  };
  for (const Case& c : cases) {
    Size r = render_size(c.screen);
    EXPECT_EQ(r.width, c.render.width) << c.screen.width << "x" << c.screen.height;
    EXPECT_EQ(r.height, c.render.height) << c.screen.width << "x" << c.screen.height;
  }
}

TEST(BloomChain, LevelCountAndSmallestLevel) {
  struct Case {
    Size screen;
    int levels;
    Size smallest;
  };
  const Case cases[] = {
      {{1920, 1080}, 7, {15, 8}}, {{2560, 1440}, 7, {20, 11}}, {{3840, 2160}, 8, {15, 8}},
      {{1366, 768}, 6, {21, 12}}, {{1280, 720}, 6, {20, 11}},  {{640, 480}, 5, {20, 15}},
  };
  for (const Case& c : cases) {
    int levels = bloom_level_count(c.screen);
    EXPECT_EQ(levels, c.levels) << c.screen.width;
    Size s = bloom_level_size(c.screen, levels - 1);
    EXPECT_EQ(s.width, c.smallest.width) << c.screen.width;
    EXPECT_EQ(s.height, c.smallest.height) << c.screen.width;
  }
}

TEST(BloomChain, TinyScreensStillGetOneLevel) {
  EXPECT_EQ(bloom_level_count({16, 16}), 1);
  EXPECT_EQ(bloom_level_count({8, 8}), 1);
  EXPECT_EQ(bloom_level_count({1, 1}), 1);
  EXPECT_LE(bloom_level_count({1 << 30, 1 << 30}), kMaxBloomLevels);
}

TEST(BloomChain, LevelSizesHalveFromHalfTheScreen) {
  EXPECT_EQ(bloom_level_size({1920, 1080}, 0).width, 960);
  EXPECT_EQ(bloom_level_size({1920, 1080}, 3).height, 67);  // 540 / 8 = 67.5, truncated
  EXPECT_EQ(bloom_level_size({1366, 768}, 0).width, 683);
}

TEST(BloomChain, ScreensWithASideOfOnePixelKeepEveryTextureSideAtLeast1) {
  for (Size screen : {Size{1, 1}, Size{1, 720}, Size{1280, 1}}) {
    EXPECT_GE(bloom_size(screen).width, 1);
    EXPECT_GE(bloom_size(screen).height, 1);
  }
  EXPECT_EQ(bloom_size({1280, 720}).width, 640);
  EXPECT_EQ(mip_levels_within({1, 1}, 6), 1);
  EXPECT_EQ(mip_levels_within({20, 1}, 6), 5);  // 20, 10, 5, 2, 1
  EXPECT_EQ(mip_levels_within({640, 360}, 6), 6);
}

}  // namespace
