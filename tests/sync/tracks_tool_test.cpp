// velmorand-tracks: values at a playback time, export and re-load, dump.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "sync/choreography.h"
#include "sync/device.h"
#include "sync/track.h"
#include "tests/sync/test_support.h"
#include "tools/tracks/tracks_tool.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string contents(std::FILE* f) {
  std::rewind(f);
  std::string text;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

ToolRun run(std::vector<const char*> args) {
  args.insert(args.begin(), "velmorand-tracks");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = run_tracks_tool(static_cast<int>(args.size()), args.data(), out, err);
  return ToolRun{status, contents(out), contents(err)};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::string line_for(const std::string& text, const std::string& name) {
  for (const std::string& line : lines(text)) {
    if (line.rfind(name + " ", 0) == 0) return line.substr(name.size() + 1);
  }
  return "(missing)";
}

class TracksTool : public sync_test::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    sync_test::forget_display();
  }
};

TEST_F(TracksTool, AtPrintsEveryTrackAndTheCameraLookAheadRows) {
  const ToolRun r = run({"--at", "1"});
  ASSERT_EQ(r.status, kToolOk) << r.err;
  const std::vector<std::string> all = lines(r.out);
  ASSERT_EQ(all.size(), 27u);
  for (int i = 0; i < kSyncTrackCount; ++i) EXPECT_EQ(all[i].rfind(std::string(track_names[i]) + " ", 0), 0u);
  // camera:pos_z rises linearly from 0 at row 0 to 23.9 at row 383: row 16.005
  // now, and 16.271666680574416 one sixtieth of a second (as float32) ahead.
  const double slope = static_cast<double>(23.9f) / 383.0;
  EXPECT_EQ(std::stof(line_for(r.out, "camera:pos_z")), static_cast<float>(16.005 / 383.0 * 23.9f));
  EXPECT_EQ(std::stof(line_for(r.out, "camera:pos_z@look-ahead")),
            static_cast<float>(16.271666680574416 / 383.0 * 23.9f));
  EXPECT_NEAR(std::stod(line_for(r.out, "camera:pos_z")), 16.005 * slope, 1e-6);
  EXPECT_EQ(line_for(r.out, "camera:target_z@look-ahead"), "1");
  EXPECT_EQ(line_for(r.out, "fade:black"), "0.85326666");
}

TEST_F(TracksTool, AtTakesSecondsAsFloat32) {
  // 0.1 s as float32 is 0.100000001490116...: row 1.6050000238418579.
  const ToolRun r = run({"--at", "0.1"});
  ASSERT_EQ(r.status, kToolOk);
  const double row = static_cast<double>(0.1f) * 16.0 + 0.005;
  EXPECT_EQ(std::stof(line_for(r.out, "scene:sunTime")),
            static_cast<float>(row / 2046.0 * static_cast<double>(6.3f)));
}

TEST_F(TracksTool, BadArgumentsExitWithStatus2AndSayWhy) {
  const std::vector<std::vector<const char*>> cases = {
      {},
      {"--at"},
      {"--at", "abc"},
      {"--at", "1.5x"},
      {"--at", "nan"},
      {"--at", "1e40"},
      {"--at", "-0.5"},
      {"--at", "-0"},
      {"--at", "0x10"},
      {"--at", "136.5"},
      {"--dump", ""},
      {"--export", "a", "b"},
      {"--frobnicate"},
      {"--help", "x"},
      {"--at", "1", "--at", "2"},
      {"--at", "1", "--choreography"},
      {"--export", "a", "--choreography", "b"},
      {"--choreography", "a", "--at", "1", "--choreography", "b"}};
  for (const auto& args : cases) {
    const ToolRun r = run(args);
    EXPECT_EQ(r.status, kToolUsage) << (args.empty() ? "(none)" : args[0]);
    // One line that points at --help, not the whole usage.
    EXPECT_EQ(r.err.rfind("velmorand-tracks: ", 0), 0u) << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(TracksTool, AtEvaluatesTheListsOfAChoreographyFolderOverTheCompiledInKeys) {
  const std::string plain = run({"--at", "1"}).out;
  ASSERT_EQ(run({"--export-text", "lists"}).status, kToolOk);
  const ToolRun same = run({"--at", "1", "--choreography", "lists"});
  ASSERT_EQ(same.status, kToolOk) << same.err;
  EXPECT_EQ(same.out, plain);
  // A folder may hold only the lists that were edited.
  std::filesystem::create_directory("edited");
  write_file("edited/fade.black.keys", {'0', ':', ' ', '0', '.', '2', '5', ' ', '(', '0', ')'});
  const ToolRun edited = run({"--choreography=edited", "--at", "1"});
  ASSERT_EQ(edited.status, kToolOk) << edited.err;
  EXPECT_EQ(line_for(edited.out, "fade:black"), "0.25");
  EXPECT_EQ(line_for(edited.out, "camera:pos_z"), line_for(plain, "camera:pos_z"));
}

TEST_F(TracksTool, AChoreographyFolderThatDoesNotReadIsRefusedWithThePlace) {
  std::filesystem::create_directory("broken");
  write_file("broken/camera.fov.keys", {'0', ':', ' ', '1', ' ', '(', '0', ')', ';', '\n', '9', ' ', '2'});
  std::filesystem::create_directory("misspelt");
  write_file("misspelt/fade.blak.keys", {'0', ':', ' ', '1', ' ', '(', '0', ')'});
  std::filesystem::create_directory("empty");
  const std::pair<const char*, const char*> cases[] = {
      {"broken", "broken/camera.fov.keys:2:3: expected ':' after the row"},
      {"misspelt", "misspelt/fade.blak.keys: names no track"},
      {"empty", "empty: holds none of the 21 key lists"},
      {"nowhere", "nowhere: no such folder"}};
  for (const auto& [dir, says] : cases) {
    const ToolRun r = run({"--at", "1", "--choreography", dir});
    EXPECT_EQ(r.status, kToolUsage) << dir;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
  }
}

TEST_F(TracksTool, ExportThenLoadGivesBackIdenticalKeys) {
  const ToolRun r = run({"--export", "exported"});
  ASSERT_EQ(r.status, kToolOk) << r.err;
  EXPECT_EQ(lines(r.out).size(), 21u);
  std::filesystem::current_path("exported");
  TrackRegistry* d = registry_create("sync/");
  testing::internal::CaptureStderr();
  for (int i = 0; i < kSyncTrackCount; ++i) registry_get_track(d, track_names[i]);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (int i = 0; i < kSyncTrackCount; ++i) {
    SCOPED_TRACE(track_names[i]);
    const CompiledTrack& c = compiled_tracks[i];
    const Track* t = d->tracks[i];
    EXPECT_EQ(std::filesystem::file_size(track_file_name("sync-2F", track_names[i])),
              4u + 9u * static_cast<unsigned>(c.key_count));
    ASSERT_EQ(t->key_count, c.key_count);
    for (int k = 0; k < c.key_count; ++k) {
      ASSERT_EQ(t->keys[k].row, c.rows[k]);
      ASSERT_EQ(std::memcmp(&t->keys[k].value, &c.values[k], 4), 0);
      ASSERT_EQ(static_cast<int>(t->keys[k].interpolation), c.codes[k]);
    }
  }
  registry_destroy(d);
}

TEST_F(TracksTool, ExportIntoAFileFails) {
  write_file("taken", {1, 2, 3});
  const ToolRun r = run({"--export", "taken"});
  EXPECT_EQ(r.status, kToolFailed);
  EXPECT_NE(r.err.find("cannot use taken as the export folder"), std::string::npos) << r.err;
}

TEST_F(TracksTool, DumpListsTheKeysInListNotation) {
  ASSERT_EQ(run({"--export", "."}).status, kToolOk);
  const ToolRun r = run({"--dump", "sync-2F_camera-3Afov.track"});
  ASSERT_EQ(r.status, kToolOk) << r.err;
  EXPECT_EQ(r.out,
            "sync-2F_camera-3Afov.track: 4 keys\n"
            "0: 2.5 (0) Step\n127: 2.5 (0) Step\n1663: 2.5 (2) Smooth\n1919: 4 (2) Smooth\n");
}

TEST_F(TracksTool, DumpMentionsBytesAfterTheLastKey) {
  write_file("t.track", sync_test::TrackFileBytes().i32(1).key(-3, 0.1f, 1).i32(0).bytes());
  const ToolRun r = run({"--dump", "t.track"});
  ASSERT_EQ(r.status, kToolOk);
  EXPECT_EQ(r.out, "t.track: 1 key\n-3: 0.1 (1) Linear\n(4 bytes after the last key, which are not read)\n");
}

TEST_F(TracksTool, DumpSaysWhyAFileIsMalformed) {
  write_file("bad.track", sync_test::TrackFileBytes().i32(2).key(0, 1.0f, 0).key(4, 1.0f, 5).bytes());
  const ToolRun r = run({"--dump", "bad.track"});
  EXPECT_EQ(r.status, kToolFailed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "velmorand-tracks: bad.track is malformed: key 1 has interpolation code 5, outside 0-3\n");
}

TEST_F(TracksTool, DumpRefusesWhatIsNotARegularFileWithoutOpeningIt) {
  ASSERT_EQ(mkfifo("pipe.track", 0600), 0);  // opening it would block for good
  std::filesystem::create_directory("folder.track");
  const std::pair<const char*, const char*> cases[] = {{"pipe.track", "is not a regular file"},
                                                       {"folder.track", "is a folder"},
                                                       {"/dev/zero", "is not a regular file"}};
  for (const auto& [path, says] : cases) {
    const ToolRun r = run({"--dump", path});
    EXPECT_EQ(r.status, kToolFailed) << path;
    EXPECT_NE(r.err.find(std::string(path) + " " + says), std::string::npos) << r.err;
  }
}

TEST_F(TracksTool, ExportStopsAtAFailedWriteAndSaysWhy) {
  std::filesystem::create_directory("out");
  std::filesystem::create_symlink("/dev/full", "out/sync-2F_camera-3Apos_x.track");
  const ToolRun r = run({"--export", "out"});
  EXPECT_EQ(r.status, kToolFailed);
  EXPECT_NE(r.err.find("cannot write out/sync-2F_camera-3Apos_x.track: No space left on device"),
            std::string::npos)
      << r.err;
}

TEST_F(TracksTool, OutputThatCannotBeWrittenIsAFailure) {
  const char* args[] = {"velmorand-tracks", "--at", "5"};
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(run_tracks_tool(3, args, full, err), kToolFailed);
  std::fclose(full);
  EXPECT_NE(contents(err).find("cannot write the output: No space left on device"), std::string::npos);
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(TracksTool, TextListsRoundTripToTheCompiledInSourceExactly) {
  const ToolRun exported = run({"--export-text", "lists"});
  ASSERT_EQ(exported.status, kToolOk) << exported.err;
  EXPECT_EQ(file_text("lists/camera.pos_x.keys"), compiled_tracks[0].list);
  const ToolRun imported = run({"--import-text", "lists", "lists.h"});
  ASSERT_EQ(imported.status, kToolOk) << imported.err;
  EXPECT_EQ(file_text("lists.h"), file_text(VELMORAND_SOURCE_DIR "/sync/choreography_lists.h"));
}

TEST_F(TracksTool, ImportTextWritesNothingUnlessEveryListReads) {
  ASSERT_EQ(run({"--export-text", "lists"}).status, kToolOk);
  write_file("lists/camera.fov.keys", {'0', ':', ' ', '1', ' ', '(', '0', ')', ';', '\n', '9', ' ', '2'});
  std::filesystem::remove("lists/fade.white.keys");
  write_file("lists.h", {'k', 'e', 'p', 't'});
  const ToolRun r = run({"--import-text", "lists", "lists.h"});
  EXPECT_EQ(r.status, kToolFailed);
  EXPECT_NE(r.err.find("lists/camera.fov.keys:2:3: expected ':' after the row"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("lists/fade.white.keys"), std::string::npos) << r.err;
  EXPECT_EQ(file_text("lists.h"), "kept");
  const ToolRun nowhere = run({"--import-text", "nowhere", "lists.h"});
  EXPECT_EQ(nowhere.status, kToolFailed);
  EXPECT_EQ(lines(nowhere.err).size(), 1u) << nowhere.err;
}

}  // namespace

namespace {

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(TracksTool, PlotDrawsTheCompiledInKeysOrThoseOfAChoreographyFolder) {
  ASSERT_EQ(run({"--plot", "plain.svg"}).status, kToolOk);
  std::filesystem::create_directory("edited");
  write_file("edited/fade.black.keys", {'0', ':', ' ', '0', '.', '2', '5', ' ', '(', '0', ')'});
  const ToolRun edited = run({"--plot", "edited.svg", "--choreography", "edited"});
  ASSERT_EQ(edited.status, kToolOk) << edited.err;
  // fade:black's dots (those within the 136 s) give way to the list's one key.
  const CompiledTrack& black = compiled_tracks[9];
  int shown = 0;
  for (int k = 0; k < black.key_count; ++k) shown += black.rows[k] <= 136 * 16;
  EXPECT_EQ(occurrences(file_text("plain.svg"), "<circle") - occurrences(file_text("edited.svg"), "<circle"),
            shown - 1);
  EXPECT_NE(file_text("edited.svg").find("the lists of edited"), std::string::npos);
  EXPECT_EQ(run({"--plot", "x.svg", "--choreography", "missing"}).status, kToolUsage);
}

}  // namespace
