// The compiled-in choreography against its per-track summary and spot values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "sync/choreography.h"
#include "sync/choreography_list.h"
#include "sync/device.h"
#include "sync/track.h"
#include "tests/sync/test_support.h"

namespace {

struct Summary {
  const char* name;
  const char* file;
  int keys;
  int first_row;
  int last_row;
  float min_value;
  float max_value;
  std::set<int> modes;  // 0 Step, 1 Linear, 2 Smooth, 3 Ramp
};

const Summary kSummary[kSyncTrackCount] = {
    {"camera:pos_x", "sync-2F_camera-3Apos_x.track", 109, 0, 2303, -14, 18.3f, {0, 1}},
    {"camera:pos_y", "sync-2F_camera-3Apos_y.track", 263, 0, 2303, 0, 5, {0, 1}},
    {"camera:pos_z", "sync-2F_camera-3Apos_z.track", 17, 0, 2046, -1500, 100, {0, 1}},
    {"camera:target_x", "sync-2F_camera-3Atarget_x.track", 25, 0, 1664, -100, 4, {0, 2, 3}},
    {"camera:target_y", "sync-2F_camera-3Atarget_y.track", 47, 0, 2046, -5, 5, {0, 1, 2, 3}},
    {"camera:target_z", "sync-2F_camera-3Atarget_z.track", 12, 0, 1664, -0.5f, 22.74f, {0, 1}},
    {"camera:roll", "sync-2F_camera-3Aroll.track", 10, 0, 2303, 0, 7.86f, {0, 1, 3}},
    {"camera:pitch", "sync-2F_camera-3Apitch.track", 5, 0, 1664, 0, 0, {0, 1}},
    {"camera:fov", "sync-2F_camera-3Afov.track", 4, 0, 1919, 2.5f, 4, {0, 2}},
    {"fade:black", "sync-2F_fade-3Ablack.track", 12, 0, 2431, 0, 1, {0, 1, 2}},
    {"fade:white", "sync-2F_fade-3Awhite.track", 40, 0, 2049, 0, 1, {0, 1, 3}},
    {"scene:sunTime", "sync-2F_scene-3AsunTime.track", 3, 0, 2303, 0, 6.3f, {1}},
    {"scene:showLogo", "sync-2F_scene-3AshowLogo.track", 7, 0, 896, 0, 1, {0, 1}},
    {"scene:cubeIllum", "sync-2F_scene-3AcubeIllum.track", 273, 0, 2303, 0, 8, {0, 2, 3}},
    {"scene:bloom", "sync-2F_scene-3Abloom.track", 35, 0, 1406, 0, 1, {0}},
    {"scene:cubesRepeat", "sync-2F_scene-3AcubesRepeat.track", 3, 0, 1279, 0, 6, {0}},
    {"scene:plasmaOffset", "sync-2F_scene-3AplasmaOffset.track", 4, 0, 2076, -0.01f, 2, {0, 1}},
    {"Texts:vlmArmy", "sync-2F_Texts-3AvlmArmy.track", 3, 0, 640, 0, 2, {0}},
    {"Texts:credits", "sync-2F_Texts-3Acredits.track", 371, 0, 2046, 0, 80, {0}},
    {"PostProcess:glitch", "sync-2F_PostProcess-3Aglitch.track", 96, 0, 2046, 0, 50, {0, 1}},
    {"PostProcess:glitchCredits", "sync-2F_PostProcess-3AglitchCredits.track", 153, 0, 2046, 0, 101, {0}},
};

// A registry holding the 21 tracks with their compiled-in keys (no files read).
class Compiled : public ::testing::Test {
 protected:
  void SetUp() override {
    registry = registry_create("sync/");
    sync_test::MemoryFiles files(registry);
    for (int i = 0; i < kSyncTrackCount; ++i) registry_get_track(registry, track_names[i]);
    ASSERT_TRUE(install_compiled_keys(registry));
  }
  void TearDown() override { registry_destroy(registry); }
  const Track* track(const char* name) const { return registry->tracks[find_track(registry, name)]; }
  TrackRegistry* registry = nullptr;
};

TEST_F(Compiled, EveryTrackMatchesItsSummary) {
  int total = 0;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const Summary& s = kSummary[i];
    SCOPED_TRACE(s.name);
    EXPECT_STREQ(track_names[i], s.name);
    EXPECT_STREQ(track_file_name(registry->base, track_names[i]), s.file);
    const Track* t = registry->tracks[i];
    EXPECT_STREQ(t->name, s.name);
    ASSERT_EQ(t->key_count, s.keys);
    EXPECT_EQ(t->keys[0].row, s.first_row);
    EXPECT_EQ(t->keys[t->key_count - 1].row, s.last_row);
    float lo = t->keys[0].value, hi = t->keys[0].value;
    std::set<int> modes;
    for (int k = 0; k < t->key_count; ++k) {
      lo = std::min(lo, t->keys[k].value);
      hi = std::max(hi, t->keys[k].value);
      modes.insert(static_cast<int>(t->keys[k].interpolation));
      if (k > 0) {
        EXPECT_LT(t->keys[k - 1].row, t->keys[k].row) << k;
      }
    }
    EXPECT_EQ(lo, s.min_value);
    EXPECT_EQ(hi, s.max_value);
    EXPECT_EQ(modes, s.modes);
    total += t->key_count;
  }
  EXPECT_EQ(total, kCompiledKeyTotal);
  EXPECT_STREQ(track_names[kGlitchCreditsTrack], "PostProcess:glitchCredits");
}

TEST_F(Compiled, LastKeyOfTheChoreographyIsRow2431OfFadeBlack) {
  int last = 0, owner = -1;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const Track* t = registry->tracks[i];
    if (t->keys[t->key_count - 1].row > last) {
      last = t->keys[t->key_count - 1].row;
      owner = i;
    }
  }
  EXPECT_EQ(last, 2431);
  EXPECT_EQ(owner, 9);
}

TEST_F(Compiled, SpotValues) {
  const Track* black = track("fade:black");
  EXPECT_EQ(track_value_at(black, 0.0), 1.0);
  EXPECT_EQ(track_value_at(black, 2.5), 1.0);
  EXPECT_EQ(track_value_at(black, 42.5), 0.5);
  EXPECT_EQ(track_value_at(black, 80.0), 0.0);
  EXPECT_EQ(track_value_at(track("camera:fov"), 1791.0), 3.25);
  EXPECT_EQ(track_value_at(track("scene:sunTime"), 1023.0), 0.5 * static_cast<double>(6.3f));
  EXPECT_NEAR(track_value_at(track("scene:sunTime"), 1023.0), 3.15, 1e-6);
  const double white = track_value_at(track("fade:white"), 2040.5);
  EXPECT_NEAR(white, 0.15125, 1e-15);
  const Track* pitch = track("camera:pitch");
  for (double row = -10.0; row < 2500.0; row += 0.75) ASSERT_EQ(track_value_at(pitch, row), 0.0) << row;
}

TEST_F(Compiled, BracketGroupsExpandToTheirRows) {
  const Track* illum = track("scene:cubeIllum");
  EXPECT_EQ(track_value_at(illum, 1679.0), 8.0);       // r+15 of the first group
  EXPECT_EQ(track_value_at(illum, 1695.5), 1.0);       // r+31
  EXPECT_EQ(track_value_at(illum, 1888.0 + 15), 8.0);  // last group
  EXPECT_EQ(track_value_at(illum, 2043.0), 1.0);       // r+1 of r = 2042
  const Track* credits = track("Texts:credits");
  EXPECT_EQ(track_value_at(credits, 1931.0), 73.0);
  EXPECT_EQ(track_value_at(credits, 1932.0), 0.0);
  EXPECT_EQ(track_value_at(credits, 1933.0), 0.0);  // the next bracket starts at 1935
  EXPECT_EQ(track_value_at(credits, 1935.0), 74.0);
  const Track* target_y = track("camera:target_y");
  EXPECT_EQ(locate_key(target_y, 960 + 27), 17);  // r+27 of the third group
  const Track* pos_y = track("camera:pos_y");
  EXPECT_EQ(track_value_at(pos_y, 1393.0 + 7), 1.02f);  // r+7 of the last group
}

TEST_F(Compiled, EndKeysHoldBeyondTheChoreography) {
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const Track* t = registry->tracks[i];
    EXPECT_EQ(track_value_at(t, 2431.5), t->keys[t->key_count - 1].value) << track_names[i];
    EXPECT_EQ(track_value_at(t, 99999.0), t->keys[t->key_count - 1].value) << track_names[i];
    EXPECT_EQ(track_value_at(t, -0.001), t->keys[0].value) << track_names[i];
    EXPECT_EQ(track_value_at(t, -5000.0), t->keys[0].value) << track_names[i];
  }
}

// Every value in the lists is the float32 nearest to its decimal.
TEST(CompiledLists, ValuesAreTheNearestFloat32ToTheirDecimals) {
  const std::regex value_re(R"(: (-?[0-9.]+) \()");
  int checked = 0;
  for (const CompiledTrack& compiled : compiled_tracks) {
    const std::string list = compiled.list;
    for (auto it = std::sregex_iterator(list.begin(), list.end(), value_re); it != std::sregex_iterator(); ++it) {
      const std::string text = (*it)[1];
      choreography::ListReader reader{text};
      float value = 0.0f;
      ASSERT_TRUE(choreography::read_decimal(reader, &value)) << text;
      EXPECT_EQ(value, std::strtof(text.c_str(), nullptr)) << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 500);
}

TEST(CompiledLists, InstallNeedsTheTwentyOneTracks) {
  TrackRegistry* d = registry_create("sync/");
  sync_test::MemoryFiles files(d);
  for (int i = 0; i < 20; ++i) registry_get_track(d, track_names[i]);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(install_compiled_keys(d));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("needs 21 tracks"), std::string::npos);
  EXPECT_EQ(d->tracks[0]->key_count, 0);
  registry_destroy(d);
}

TEST(CompiledLists, InstallReplacesFileKeysAndLeavesAFailedTrackEmpty) {
  TrackRegistry* d = registry_create("sync/");
  sync_test::MemoryFiles files(d);
  files.serve("sync-2F_camera-3Apos_y.track", sync_test::TrackFileBytes().i32(1).key(3, 9.0f, 0).bytes());
  for (int i = 0; i < kSyncTrackCount; ++i) registry_get_track(d, track_names[i]);
  ASSERT_EQ(d->tracks[1]->key_count, 1);
  {
    sync_test::AllocationCounter counter(2);  // the key array of track 1
    testing::internal::CaptureStderr();
    EXPECT_FALSE(install_compiled_keys(d));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("camera:pos_y"), std::string::npos);
  }
  EXPECT_EQ(d->tracks[0]->key_count, 109);
  EXPECT_EQ(d->tracks[1]->key_count, 0);
  EXPECT_EQ(d->tracks[1]->keys, nullptr);
  EXPECT_TRUE(install_compiled_keys(d));
  EXPECT_EQ(d->tracks[1]->key_count, 263);
  registry_destroy(d);
}

}  // namespace
