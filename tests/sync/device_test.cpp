// Registry, name encoding and track-file loading, bad input and running out of memory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "sync/device.h"
#include "sync/track.h"
#include "tests/sync/test_support.h"

using sync_test::AllocationCounter;
using sync_test::MemoryFiles;
using sync_test::TrackFileBytes;

namespace {

const std::string kPosXFile = "sync-2F_camera-3Apos_x.track";

struct Registry {
  TrackRegistry* d = registry_create("sync/");
  ~Registry() { registry_destroy(d); }
};

TEST(Encoding, EscapesEverythingButLettersDigitsDotAndUnderscore) {
  EXPECT_STREQ(encode_path_component("a b/c%"), "a-20b-2Fc-25");
  EXPECT_STREQ(encode_path_component("camera:pos_x"), "camera-3Apos_x");
  EXPECT_STREQ(encode_path_component("Az09._"), "Az09._");
  EXPECT_STREQ(encode_path_component("caf\xE9"), "caf-E9");
  EXPECT_STREQ(encode_path_component("\x01\x7F\xFF"), "-01-7F-FF");
  EXPECT_STREQ(encode_path_component(""), "");
}

TEST(Encoding, CutsAt259CharactersNeverInsideAnEscape) {
  EXPECT_EQ(std::string(encode_path_component(std::string(300, 'q').c_str())), std::string(259, 'q'));
  const std::string slashes = encode_path_component(std::string(100, '/').c_str());
  EXPECT_EQ(slashes.size(), 258u);
  EXPECT_EQ(slashes.substr(255), "-2F");
  // An escape that doesn't fit ends the walk: nothing after it is appended.
  EXPECT_EQ(std::string(encode_path_component((std::string(258, 'a') + "/bcd").c_str())), std::string(258, 'a'));
  EXPECT_EQ(std::string(encode_path_component((std::string(256, 'a') + "/b").c_str())),
            std::string(256, 'a') + "-2F");
}

TEST(Encoding, ResultsLiveInTwoStaticBuffersOverwrittenByTheNextCall) {
  const char* first = encode_path_component("x y");
  const char* second = encode_path_component("z");
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "z");
  const char* file = track_file_name("sync-2F", "a");
  EXPECT_NE(file, first);
  EXPECT_STREQ(track_file_name("b", "c"), "b_c.track");
  EXPECT_STREQ(file, "b_c.track");
}

TEST(TrackFileName, JoinsBaseEncodedNameAndSuffixWithin259Characters) {
  EXPECT_STREQ(track_file_name("sync-2F", "camera:pos_x"), "sync-2F_camera-3Apos_x.track");
  EXPECT_STREQ(track_file_name("sync-2F", "PostProcess:glitchCredits"),
               "sync-2F_PostProcess-3AglitchCredits.track");
  // The base is taken unchanged.
  EXPECT_STREQ(track_file_name("a/b", "c"), "a/b_c.track");
  EXPECT_EQ(std::string(track_file_name(std::string(300, 'b').c_str(), "n")), std::string(259, 'b'));
  EXPECT_EQ(std::string(track_file_name(std::string(255, 'b').c_str(), "ab")), std::string(255, 'b') + "_ab.");
}

TEST(Registry, CreationStoresTheEncodedBaseAndTheStandardFileOperations) {
  Registry r;
  ASSERT_NE(r.d, nullptr);
  EXPECT_STREQ(r.d->base, "sync-2F");
  EXPECT_EQ(r.d->tracks, nullptr);
  EXPECT_EQ(r.d->track_count, 0);
  EXPECT_EQ(r.d->open, static_cast<TrackFileOpen>(std::fopen));
  EXPECT_EQ(r.d->read, static_cast<TrackFileRead>(std::fread));
  EXPECT_EQ(r.d->close, static_cast<TrackFileClose>(std::fclose));
  EXPECT_EQ(find_track(r.d, "anything"), -1);
}

TEST(Registry, CreationReturnsNullWhenMemoryRunsOutAndLeaksNothing) {
  for (long fail_at : {1, 2}) {
    AllocationCounter counter(fail_at);
    EXPECT_EQ(registry_create("sync/"), nullptr) << fail_at;
    EXPECT_EQ(counter.live_blocks(), 0) << fail_at;
  }
}

TEST(Registry, HandsOutOneTrackPerExactNameInOrderOfCreation) {
  Registry r;
  MemoryFiles files(r.d);  // no file anywhere
  Track* x = registry_get_track(r.d, "camera:pos_x");
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(registry_get_track(r.d, "camera:pos_x"), x);
  Track* upper = registry_get_track(r.d, "camera:pos_X");
  Track* third = registry_get_track(r.d, "fade:black");
  EXPECT_NE(upper, x);
  EXPECT_EQ(r.d->track_count, 3);
  EXPECT_EQ(find_track(r.d, "camera:pos_x"), 0);
  EXPECT_EQ(find_track(r.d, "camera:pos_X"), 1);
  EXPECT_EQ(find_track(r.d, "fade:black"), 2);
  EXPECT_EQ(r.d->tracks[2], third);
  EXPECT_STREQ(third->name, "fade:black");
  EXPECT_EQ(third->key_count, 0);
  EXPECT_EQ(third->keys, nullptr);
  // Only creations look for a file.
  ASSERT_EQ(files.opened.size(), 3u);
  EXPECT_EQ(files.opened[0], kPosXFile + " rb");
  EXPECT_EQ(files.opened[1], "sync-2F_camera-3Apos_X.track rb");
}

TEST(Registry, DestroyReleasesEveryBlock) {
  AllocationCounter counter;
  TrackRegistry* d = registry_create("sync/");
  MemoryFiles files(d);
  files.serve(kPosXFile, TrackFileBytes().i32(1).key(0, 1.0f, 0).bytes());
  registry_get_track(d, "camera:pos_x");
  registry_get_track(d, "other");
  EXPECT_GT(counter.live_blocks(), 0);
  registry_destroy(d);
  EXPECT_EQ(counter.live_blocks(), 0);
}

TEST(Registry, OutOfMemoryWhileCreatingATrackIsReportedAndChangesNothing) {
  // Allocation 1 is the track record, 2 its name, 3 the grown track list.
  for (long fail_at : {1, 2, 3}) {
    Registry r;
    MemoryFiles files(r.d);
    Track* kept = registry_get_track(r.d, "kept");
    Track** list = r.d->tracks;
    AllocationCounter counter(fail_at);
    testing::internal::CaptureStderr();
    EXPECT_EQ(registry_get_track(r.d, "camera:pos_x"), nullptr) << fail_at;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("out of memory"), std::string::npos) << err;
    EXPECT_NE(err.find("camera:pos_x"), std::string::npos) << err;
    EXPECT_EQ(counter.live_blocks(), 0) << fail_at;
    EXPECT_EQ(r.d->track_count, 1);
    EXPECT_EQ(r.d->tracks, list);
    EXPECT_EQ(r.d->tracks[0], kept);
    EXPECT_EQ(files.opened.size(), 1u);
  }
}

TEST(RegistryAssertions, CreatingANameThatExists) {
  Registry r;
  MemoryFiles files(r.d);
  registry_get_track(r.d, "twice");
#ifdef NDEBUG
  testing::internal::CaptureStderr();
  EXPECT_EQ(sync_detail::create_track(r.d, "twice"), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Assertion failed: find_track(d, name) < 0, source sync/device"), std::string::npos) << err;
  EXPECT_EQ(find_track(r.d, "twice"), 0);
#else
  EXPECT_DEATH(sync_detail::create_track(r.d, "twice"),
               "Assertion failed: find_track\\(d, name\\) < 0, source sync/device");
#endif
}

// Loading a track file served from memory.
class TrackFile : public ::testing::Test {
 protected:
  // Creates "camera:pos_x" from `bytes`; returns the one stderr line (or "").
  std::string load(const std::vector<unsigned char>& bytes) {
    files.serve(kPosXFile, bytes);
    testing::internal::CaptureStderr();
    track = registry_get_track(r.d, "camera:pos_x");
    return testing::internal::GetCapturedStderr();
  }
  void expect_rejected(const std::string& err, const std::string& reason) {
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->key_count, 0);
    EXPECT_EQ(track->keys, nullptr);
    EXPECT_EQ(files.closes, 1);
    EXPECT_EQ(files.open_files, 0);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(kPosXFile), std::string::npos) << err;
    EXPECT_NE(err.find(reason), std::string::npos) << err;
    EXPECT_EQ(r.d->track_count, 1);  // the track stays registered
  }
  Registry r;
  MemoryFiles files{r.d};
  Track* track = nullptr;
};

TEST_F(TrackFile, WellFormedFileFillsTheTrack) {
  const auto bytes = TrackFileBytes().i32(2).key(0, 1.0f, 1).key(16, 3.0f, 0).bytes();
  ASSERT_EQ(bytes.size(), 22u);
  EXPECT_EQ(load(bytes), "");
  ASSERT_EQ(track->key_count, 2);
  EXPECT_EQ(track->keys[1].row, 16);
  EXPECT_EQ(track->keys[1].value, 3.0f);
  EXPECT_EQ(track->keys[0].interpolation, Interpolation::Linear);
  EXPECT_EQ(track_value_at(track, 8.0), 2.0);
  EXPECT_EQ(files.closes, 1);
}

TEST_F(TrackFile, CountZeroGivesAnEmptyTrack) {
  EXPECT_EQ(load(TrackFileBytes().i32(0).bytes()), "");
  EXPECT_EQ(track->key_count, 0);
  EXPECT_EQ(track->keys, nullptr);
  EXPECT_EQ(files.closes, 1);
}

TEST_F(TrackFile, BytesAfterTheLastKeyAreNotRead) {
  EXPECT_EQ(load(TrackFileBytes().i32(1).key(5, 2.5f, 3).i32(77).i8(1).bytes()), "");
  ASSERT_EQ(track->key_count, 1);
  EXPECT_EQ(track->keys[0].interpolation, Interpolation::Ramp);
  EXPECT_EQ(files.position, 13u);
}

TEST_F(TrackFile, LongFileBeyondTheFirstKeyBlockLoadsWhole) {
  TrackFileBytes bytes;
  bytes.i32(3000);
  for (int k = 0; k < 3000; ++k) bytes.key(2 * k, static_cast<float>(k), k % 4);
  EXPECT_EQ(load(bytes.bytes()), "");
  ASSERT_EQ(track->key_count, 3000);
  EXPECT_EQ(track->keys[2999].row, 5998);
  EXPECT_EQ(track->keys[2999].value, 2999.0f);
  EXPECT_EQ(track_value_at(track, 4003.0), 2001.5);  // key 2001 is Linear
}

TEST_F(TrackFile, TooShortForTheCount) { expect_rejected(load({0x01, 0x00}), "shorter than 4 bytes"); }

TEST_F(TrackFile, NegativeCount) {
  expect_rejected(load(TrackFileBytes().i32(-1).key(0, 1.0f, 0).bytes()), "negative key count -1");
}

TEST_F(TrackFile, CountLargerThanTheFileHolds) {
  expect_rejected(load(TrackFileBytes().i32(3).key(0, 1.0f, 0).key(1, 2.0f, 0).i32(2).bytes()),
                  "key count 3 is larger than the file holds: it ends inside key 2");
}

TEST_F(TrackFile, HugeCountAllocatesOnlyForTheKeysPresent) {
  AllocationCounter counter;
  expect_rejected(load(TrackFileBytes().i32(INT32_MAX).key(0, 1.0f, 0).bytes()), "it ends inside key 1");
  EXPECT_LE(counter.largest_request(), 1024u * sizeof(TrackKey));
}

TEST_F(TrackFile, InterpolationCodeOutsideTheFourModes) {
  expect_rejected(load(TrackFileBytes().i32(2).key(0, 1.0f, 0).key(4, 1.0f, 4).bytes()),
                  "key 1 has interpolation code 4, outside 0-3");
}

TEST_F(TrackFile, NegativeInterpolationByte) {
  expect_rejected(load(TrackFileBytes().i32(1).key(0, 1.0f, -1).bytes()), "interpolation code -1");
}

TEST_F(TrackFile, RepeatedRow) {
  expect_rejected(load(TrackFileBytes().i32(3).key(0, 1.0f, 0).key(8, 1.0f, 0).key(8, 2.0f, 0).bytes()),
                  "not strictly ascending: key 2 has row 8 after row 8 of key 1");
}

TEST_F(TrackFile, DescendingRow) {
  expect_rejected(load(TrackFileBytes().i32(2).key(8, 1.0f, 0).key(-3, 1.0f, 0).bytes()),
                  "not strictly ascending");
}

TEST_F(TrackFile, KeyAllocationFails) {
  const auto bytes = TrackFileBytes().i32(2).key(0, 1.0f, 1).key(16, 3.0f, 0).bytes();
  AllocationCounter counter(4);  // record, name, list, then the keys
  expect_rejected(load(bytes), "out of memory for 2 keys");
  EXPECT_EQ(counter.allocations(), 4);
}

TEST_F(TrackFile, KeyArrayGrowthFails) {
  TrackFileBytes bytes;
  bytes.i32(2000);
  for (int k = 0; k < 2000; ++k) bytes.key(k, 0.0f, 0);
  AllocationCounter counter(5);  // the growth beyond the first 1024 keys
  expect_rejected(load(bytes.bytes()), "out of memory for 2000 keys");
  EXPECT_EQ(counter.live_blocks(), 3);  // record, name and list; no key array
}

// Opening a FIFO blocks until a writer comes, and a folder reads as nothing;
// the registry must not open either.
class TrackFilesOnDisk : public sync_test::InTempDir {};

TEST_F(TrackFilesOnDisk, AFifoOrAFolderUnderATrackFileNameIsSkippedWithOneLineEach) {
  ASSERT_EQ(mkfifo(kPosXFile.c_str(), 0600), 0);
  std::filesystem::create_directory("sync-2F_fade-3Ablack.track");
  Registry r;
  testing::internal::CaptureStderr();
  const Track* fifo = registry_get_track(r.d, "camera:pos_x");
  const Track* folder = registry_get_track(r.d, "fade:black");
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(fifo && folder);
  EXPECT_EQ(fifo->key_count + folder->key_count, 0);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
  EXPECT_NE(err.find(kPosXFile + "\" skipped: it is not a regular file"), std::string::npos) << err;
  EXPECT_NE(err.find("fade-3Ablack.track\" skipped: it is a folder"), std::string::npos) << err;
}

}  // namespace
