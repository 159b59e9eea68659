// velmorand-capture's command line and the names of what it writes.
#include <gtest/gtest.h>

#include <initializer_list>

#include "tools/capture/capture_options.h"
#include "tools/capture/output_paths.h"

namespace {

std::optional<CaptureOptions> parse(std::initializer_list<const char*> args, std::string* error) {
  std::vector<const char*> argv = {"velmorand-capture"};
  argv.insert(argv.end(), args);
  return parse_capture_options(static_cast<int>(argv.size()), argv.data(), error);
}

TEST(CaptureOptions, DefaultsAreTheWholeIntroAt720pAnd60Fps) {
  std::string error;
  auto o = parse({"--out", "frames"}, &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->size.width, 1280);
  EXPECT_EQ(o->size.height, 720);
  EXPECT_EQ(o->fps, 60);
  EXPECT_EQ(o->from, 0.0);
  EXPECT_EQ(o->to, 136.0);
  EXPECT_EQ(o->crf, 18);
  EXPECT_EQ(o->kind, OutputKind::Folder);
}

TEST(CaptureOptions, ValuesAfterTheOptionOrAfterAnEqualsSign) {
  std::string error;
  auto o = parse({"--size=640x360", "--fps", "30", "--from=12.5", "--to", "20", "--crf=23", "--out", "clip.MKV"},
                 &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->size.width, 640);
  EXPECT_EQ(o->size.height, 360);
  EXPECT_EQ(o->fps, 30);
  EXPECT_EQ(o->from, 12.5);
  EXPECT_EQ(o->to, 20.0);
  EXPECT_EQ(o->crf, 23);
  EXPECT_EQ(o->kind, OutputKind::Video);
}

TEST(CaptureOptions, StillsTakeTheirTimesAndAPngOrFolderPath) {
  std::string error;
  auto o = parse({"--at", "0,127.75,136", "--out", "shot.png"}, &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::Stills);
  EXPECT_EQ(o->at, (std::vector<double>{0.0, 127.75, 136.0}));
  std::vector<std::string> paths;
  ASSERT_TRUE(still_png_paths(*o, &paths, &error)) << error;
  EXPECT_EQ(paths, (std::vector<std::string>{"shot_000.000.png", "shot_127.750.png", "shot_136.000.png"}));
  o = parse({"--at", "5", "--out", "dir"}, &error);
  ASSERT_TRUE(o) << error;
  ASSERT_TRUE(still_png_paths(*o, &paths, &error));
  EXPECT_EQ(paths, std::vector<std::string>{"dir/at_005.000.png"});
}

TEST(CaptureOptions, ANameEndingInASlashIsAFolderWhateverItsDots) {
  std::string error;
  for (const char* out : {"frames.v2/", "./frames", "../out", ".hidden"}) {
    auto o = parse({"--out", out}, &error);
    ASSERT_TRUE(o) << out << ": " << error;
    EXPECT_EQ(o->kind, OutputKind::Folder) << out;
  }
}

TEST(CaptureOptions, StillTimesThatShareAFileNameAreRefused) {
  std::string error;
  auto o = parse({"--at", "5.0001,5.0002", "--out", "shot.png"}, &error);
  ASSERT_TRUE(o) << error;
  std::vector<std::string> paths;
  EXPECT_FALSE(still_png_paths(*o, &paths, &error));
  EXPECT_NE(error.find("share"), std::string::npos) << error;
}

TEST(CaptureOptions, FramesAreNumberedByTheirPlaceInTheIntro) {
  EXPECT_EQ(frame_png_path("out", 1283), "out/frame_001283.png");
  EXPECT_EQ(parent_folder("a/b/c.mp4"), "a/b");
  EXPECT_EQ(parent_folder("c.mp4"), ".");
  EXPECT_EQ(parent_folder("/c.mp4"), "/");
}

struct BadCase {
  std::vector<const char*> args;
  const char* says;  // a part of the message
};

TEST(CaptureOptions, BadArgumentsAreRefusedWithAReason) {
  const BadCase cases[] = {
      {{"--size", "0x90", "--out", "d"}, "--size"},
      {{"--size", "160", "--out", "d"}, "--size"},
      {{"--size", "160x90x2", "--out", "d"}, "--size"},
      {{"--size", "161x90", "--out", "v.mp4"}, "even"},
      {{"--size", "160x91", "--out", "v.mkv"}, "even"},
      {{"--fps", "0", "--out", "d"}, "--fps"},
      {{"--fps", "29.97", "--out", "d"}, "--fps"},
      {{"--from", "-1", "--out", "d"}, "--from"},
      {{"--from", "20", "--to", "10", "--out", "d"}, "before --to"},
      {{"--to", "137", "--out", "d"}, "136"},
      {{"--at", "200", "--out", "s.png"}, "136"},
      {{"--at", "1,,2", "--out", "s.png"}, "--at"},
      {{"--at", "5", "--from", "1", "--out", "s.png"}, "--from"},
      {{"--at", "5", "--out", "v.mp4"}, "stills"},
      {{"--out", "s.png"}, "--at"},
      {{"--crf", "20", "--out", "d"}, "video"},
      {{"--crf", "52", "--out", "v.mp4"}, "--crf"},
      {{"--fps", "30"}, "--out"},
      {{"--out"}, "needs a value"},
      {{"--speed", "2", "--out", "d"}, "unknown"},
      {{"frames"}, "unknown"},
      {{"--at", "-0", "--out", "s.png"}, "--at"},
      {{"--from", "0x10", "--out", "d"}, "--from"},
      {{"--out", "x.avi"}, "--out takes a folder, NAME.png (with --at), NAME.mp4 or NAME.mkv"},
      {{"--out", "-"}, "--out takes a folder"},
      {{"--at", "10", "--at", "11", "--out", "s.png"}, "--at is given twice; give every time in one list"},
      {{"--size", "16x16", "--out", "d", "--size=32x32"}, "--size is given twice"},
      {{"--choreography", "", "--out", "d"}, "--choreography"},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"velmorand-capture"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::string error;
    EXPECT_FALSE(parse_capture_options(static_cast<int>(argv.size()), argv.data(), &error))
        << c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : "");
    EXPECT_NE(error.find(c.says), std::string::npos) << "message: " << error;
  }
}

}  // namespace
