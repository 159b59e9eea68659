// The key-list reader at run time: the compiled-in lists read back to the
// compiled-in keys, and a broken list says where and what was expected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sync/choreography.h"
#include "sync/key_list.h"
#include "tests/sync/test_support.h"

namespace {

TEST(KeyList, EveryCompiledListReadsAtRunTimeToItsCompiledKeys) {
  for (int i = 0; i < kSyncTrackCount; ++i) {
    SCOPED_TRACE(track_names[i]);
    const CompiledTrack& c = compiled_tracks[i];
    std::vector<TrackKey> keys;
    KeyListError error;
    ASSERT_TRUE(parse_key_list(c.list, &keys, &error)) << describe_list_error("list", error);
    ASSERT_EQ(static_cast<int>(keys.size()), c.key_count);
    for (int k = 0; k < c.key_count; ++k) {
      ASSERT_EQ(keys[k].row, c.rows[k]) << k;
      ASSERT_EQ(keys[k].value, c.values[k]) << k;
      ASSERT_EQ(static_cast<int>(keys[k].interpolation), c.codes[k]) << k;
    }
  }
}

TEST(KeyList, ABrokenListSaysWhereAndWhatWasExpected) {
  struct Case {
    const char* text;
    const char* where;  // "line:column"
    const char* expected;
  };
  const Case cases[] = {
      {"0: 1 (0);\n127 2.5 (0)", "2:5", "expected ':' after the row"},
      {"0: 1 (0); 5: 2 (4)", "1:11", "interpolation code 0 to 3"},
      {"0: 1 (0);\n  5: 2 (0); 5: 3 (0)", "2:13", "above the previous key's row"},
      {"0: 1 (0); [r = 8 to 32 every 8 rows, 3 times: r: 1 (0)]", "1:11", "A, B, P and n agree"},
      {"0: 1 (0); [r = 8 to 16 every 8 rows, 2 times: r: 1 (0), s: 2 (0)]", "1:57", "'r' or 'r+offset'"},
      {"0: 1 (0) 5: 2 (0)", "1:10", "';' between keys"},
      {"0: 1.0000000000000001 (0)", "1:4", "at most 15 digits"},
      {"", "1:1", "a row number or '['"},
      {"0: 1 (0); [r = 1 to 2000001 every 1 rows, 2000001 times: r: 1 (0)]", "1:58", "at most 1048576 keys"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<TrackKey> keys{{1, 1.0f, Interpolation::Step}};
    KeyListError error;
    EXPECT_FALSE(parse_key_list(c.text, &keys, &error));
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(std::to_string(error.line) + ":" + std::to_string(error.column), c.where);
    EXPECT_NE(error.expected.find(c.expected), std::string::npos) << error.expected;
  }
}

TEST(KeyList, AFailedSwapKeepsTheTracksKeys) {
  std::vector<TrackKey> held{{0, 1.0f, Interpolation::Step}};
  Track track = sync_test::view_track(held);
  sync_test::AllocationCounter counter(1);
  EXPECT_FALSE(replace_track_keys(&track, {{0, 2.0f, Interpolation::Linear}, {8, 3.0f, Interpolation::Step}}));
  EXPECT_EQ(track.keys, held.data());
  EXPECT_EQ(track.key_count, 1);
}

}  // namespace
