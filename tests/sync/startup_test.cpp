// The sync steps of start-up, with the real file operations in a temporary
// working directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/startup.h"
#include "sync/track.h"
#include "tests/sync/test_support.h"

namespace {

using sync_test::TrackFileBytes;

class Startup : public sync_test::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    sync_test::forget_display();
  }
  // Every track evaluated on a fine grid of rows, from the current track_table.
  static std::vector<double> evaluate_all() {
    std::vector<double> values;
    for (Track* track : track_table) {
      for (double row = -2.0; row < 2440.0; row += 0.37) values.push_back(track_value_at(track, row));
    }
    return values;
  }
  static std::vector<double> evaluate_without_files() {
    TrackRegistry* d = start_sync_tracks();
    std::vector<double> values = evaluate_all();
    registry_destroy(d);
    return values;
  }
  // A well-formed file for camera:pos_x whose keys differ from the compiled ones.
  static std::vector<unsigned char> pos_x_file() {
    return TrackFileBytes().i32(3).key(0, 42.0f, 1).key(100, -7.0f, 2).key(200, 3.0f, 0).bytes();
  }
};

TEST_F(Startup, FillsTheTableWithTheCompiledKeysInNameOrder) {
  TrackRegistry* d = start_sync_tracks();
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->track_count, kSyncTrackCount);
  for (int i = 0; i < kSyncTrackCount; ++i) {
    SCOPED_TRACE(track_names[i]);
    ASSERT_EQ(track_table[i], d->tracks[i]);
    EXPECT_STREQ(track_table[i]->name, track_names[i]);
    const CompiledTrack& c = compiled_tracks[i];
    ASSERT_EQ(track_table[i]->key_count, c.key_count);
    for (int k = 0; k < c.key_count; ++k) {
      const TrackKey& key = track_table[i]->keys[k];
      ASSERT_EQ(key.row, c.rows[k]);
      ASSERT_EQ(key.value, c.values[k]);
      ASSERT_EQ(static_cast<int>(key.interpolation), c.codes[k]);
    }
  }
  registry_destroy(d);
}

TEST_F(Startup, WellFormedTrackFileIsReadButChangesNothing) {
  const std::vector<double> reference = evaluate_without_files();
  write_file("sync-2F_camera-3Apos_x.track", pos_x_file());

  // The same steps by hand: the file is read through the real file operations ...
  TrackRegistry* d = registry_create("sync/");
  for (int i = 0; i < kSyncTrackCount; ++i) track_table[i] = registry_get_track(d, track_names[i]);
  ASSERT_EQ(track_table[0]->key_count, 3);
  EXPECT_EQ(track_value_at(track_table[0], 50.0), 17.5);
  // ... and the installation overrides it.
  ASSERT_TRUE(install_compiled_keys(d));
  EXPECT_EQ(evaluate_all(), reference);
  registry_destroy(d);

  // start_sync_tracks itself, with the file present.
  d = start_sync_tracks();
  EXPECT_EQ(evaluate_all(), reference);
  registry_destroy(d);
}

TEST_F(Startup, RejectedTrackFileIsReportedAndChangesNothing) {
  const std::vector<double> reference = evaluate_without_files();
  write_file("sync-2F_fade-3Ablack.track", TrackFileBytes().i32(5).key(0, 1.0f, 0).bytes());
  testing::internal::CaptureStderr();
  TrackRegistry* d = start_sync_tracks();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("sync-2F_fade-3Ablack.track\" rejected: key count 5 is larger"), std::string::npos) << err;
  EXPECT_EQ(evaluate_all(), reference);
  registry_destroy(d);
}

TEST_F(Startup, OutOfMemoryTakesTheSyncInitFailedPath) {
  // 1-2 the registry; 3-5 the record, name and list of the first track, 9 the
  // record of the third, 65 the list of the last; 66 and 86 the first and last
  // compiled key arrays.
  for (long fail_at : {1, 2, 3, 4, 5, 9, 65, 66, 86}) {
    EXPECT_EXIT(
        {
          sync_test::AllocationCounter counter(fail_at);
          start_sync_tracks();
        },
        testing::ExitedWithCode(1), "Error: Sync init failed")
        << "allocation " << fail_at;
  }
}

TEST_F(Startup, FailedKeyAllocationForATrackFileIsNotFatal) {
  write_file("sync-2F_camera-3Apos_x.track", pos_x_file());
  sync_test::AllocationCounter counter(6);  // the file's key array, right after the first track
  testing::internal::CaptureStderr();
  TrackRegistry* d = start_sync_tracks();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("out of memory for 3 keys"), std::string::npos) << err;
  EXPECT_EQ(track_table[0]->key_count, compiled_tracks[0].key_count);
  registry_destroy(d);
}

}  // namespace
