// velmorand-capture run as a user runs it, on lavapipe at 160x90.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <csignal>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "src/asset_catalog.h"
#include "src/soundtrack.h"
#include "sync/choreography.h"
#include "sync/key_list.h"
#include "tests/tools/tool_process.h"
#include "tools/common/child_process.h"
#include "tools/capture/png_file.h"

namespace {

const std::string kCapture = VELMORAND_CAPTURE;

// ffprobe's "key=value" lines for one stream.
std::map<std::string, std::string> probe(const std::string& file, const char* stream) {
  ToolResult r = run_tool({find_on_path("ffprobe"), "-v", "error", "-count_frames", "-select_streams", stream,
                           "-show_entries", "stream=codec_name,nb_read_frames,duration,width,height,pix_fmt",
                           "-of", "default=nw=1", file});
  std::map<std::string, std::string> fields;
  size_t at = 0;
  while (at < r.output.size()) {
    size_t end = r.output.find('\n', at);
    std::string line = r.output.substr(at, end - at);
    size_t eq = line.find('=');
    if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    at = end == std::string::npos ? r.output.size() : end + 1;
  }
  return fields;
}

// The video's sound decoded to interleaved float stereo at 44.1 kHz.
std::vector<float> decoded_audio(const std::string& video) {
  std::string raw = video + ".f32";
  run_tool({find_on_path("ffmpeg"), "-v", "error", "-i", video, "-map", "0:a:0", "-f", "f32le", "-ac", "2", "-ar",
            "44100", "-y", raw});
  auto bytes = read_bytes(raw);
  std::vector<float> samples(bytes.size() / 4);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 4);
  return samples;
}

// Energy of the difference relative to the song's, over the middle of the clip.
double mismatch(const std::vector<float>& heard, const float* song) {
  double difference = 0, energy = 0;
  for (size_t i = 2 * 4410; i < 2 * 39690; ++i) {
    difference += (heard[i] - song[i]) * double(heard[i] - song[i]);
    energy += song[i] * double(song[i]);
  }
  return energy > 0 ? difference / energy : 1e9;
}

TEST(CaptureRun, TheFirstFrameFromZeroIsBlack) {
  std::string dir = make_temp_folder("black");
  ToolResult r = run_tool({kCapture, "--size", "160x90", "--fps", "30", "--to", "0.05", "--out", dir});
  ASSERT_EQ(r.status, 0) << r.output;
  // The last state once: a log holds no repeated progress line.
  EXPECT_NE(r.output.find("frame 2/2"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("frame 2/2"), r.output.rfind("frame 2/2")) << r.output;
  int w = 0, h = 0, n = 0;
  unsigned char* px = stbi_load((dir + "/frame_000000.png").c_str(), &w, &h, &n, 3);
  ASSERT_NE(px, nullptr);
  EXPECT_EQ(w, 160);
  EXPECT_EQ(h, 90);
  int lit = 0;
  for (int i = 0; i < w * h * 3; ++i) lit += px[i] != 0;
  stbi_image_free(px);
  EXPECT_EQ(lit, 0);
  EXPECT_FALSE(read_bytes(dir + "/frame_000001.png").empty());
  EXPECT_TRUE(read_bytes(dir + "/frame_000002.png").empty());
}

TEST(CaptureRun, ASecondOfVideoHasItsFramesAndASecondOfSound) {
  std::string out = make_temp_folder("video") + "/clip.mp4";
  ToolResult r = run_tool(
      {kCapture, "--size", "160x90", "--fps", "24", "--from", "20", "--to", "21", "--out", out});
  ASSERT_EQ(r.status, 0) << r.output;
  auto video = probe(out, "v:0");
  EXPECT_EQ(video["codec_name"], "h264");
  EXPECT_EQ(video["pix_fmt"], "yuv420p");
  EXPECT_EQ(video["width"], "160");
  EXPECT_EQ(video["nb_read_frames"], "24");
  auto audio = probe(out, "a:0");
  ASSERT_FALSE(audio["duration"].empty()) << "no audio stream";
  EXPECT_NEAR(std::stod(audio["duration"]), 1.0, 1024.0 / 44100.0);
  // The sound is the song from 20 s on, not from anywhere else.
  auto heard = decoded_audio(out);
  ASSERT_TRUE(decode_soundtrack(soundtrack_asset().data, soundtrack_asset().size));
  ASSERT_GE(heard.size(), 2u * 40000);
  const float* song = soundtrack_pcm + 2u * 20 * 44100;
  double in_place = mismatch(heard, song), early = mismatch(heard, song - 2 * 2205);
  EXPECT_LT(in_place, 0.1);
  EXPECT_LT(in_place * 5, early);
  release_soundtrack_pcm();
}

int colour_count(const std::string& png) {
  int w = 0, h = 0, n = 0;
  unsigned char* px = stbi_load(png.c_str(), &w, &h, &n, 3);
  std::set<int> colours;
  for (int i = 0; px && i < w * h * 3; i += 3) colours.insert(px[i] | px[i + 1] << 8 | px[i + 2] << 16);
  stbi_image_free(px);
  return static_cast<int>(colours.size());
}

TEST(CaptureRun, StillsAreByteIdenticalAndAreTheFramesARangeCaptureShows) {
  // The logo-particle field carries from frame to frame. At 20 fps, 128.3 s
  // shows a field seeded nine frames earlier; 127.7 s is the first particle
  // frame and shows the field as start-up left it, also when an earlier
  // still of the same run has filled it.
  std::string dir = make_temp_folder("stills");
  ToolResult both = run_tool(
      {kCapture, "--size", "160x90", "--fps", "20", "--at", "128.3,127.7", "--out", dir + "/a.png"});
  ASSERT_EQ(both.status, 0) << both.output;
  ToolResult alone = run_tool(
      {kCapture, "--size", "160x90", "--fps", "20", "--at", "127.7", "--out", dir + "/b.png"});
  ASSERT_EQ(alone.status, 0) << alone.output;
  ToolResult range = run_tool(
      {kCapture, "--size", "160x90", "--fps", "20", "--from", "127.5", "--to", "128.35", "--out", dir + "/range"});
  ASSERT_EQ(range.status, 0) << range.output;
  // The replayed frames are counted apart from the range's own 17, and named
  // by the effects they rebuild: the range starts before the particles.
  for (const char* says : {"replaying 1 frame for the sun shafts (rendered", "replayed frame 1/1,", "frame 17/17,",
                           "wrote 17 files into"})
    EXPECT_NE(range.output.find(says), std::string::npos) << says << "\n" << range.output;
  EXPECT_NE(both.output.find("frames for the sun shafts and the logo particles"), std::string::npos)
      << both.output;
  auto late = read_bytes(dir + "/a_128.300.png"), first = read_bytes(dir + "/a_127.700.png");
  ASSERT_FALSE(late.empty());
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first, read_bytes(dir + "/b_127.700.png"));
  EXPECT_EQ(first, read_bytes(dir + "/range/frame_002554.png"));
  EXPECT_EQ(late, read_bytes(dir + "/range/frame_002566.png"));
  EXPECT_GT(colour_count(dir + "/a_128.300.png"), 10) << "the particles should show";
}

void write_text(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

bool all_black(const std::string& png) {
  int w = 0, h = 0, n = 0;
  unsigned char* px = stbi_load(png.c_str(), &w, &h, &n, 3);
  bool black = px != nullptr;
  for (int i = 0; px && i < w * h * 3; ++i) black = black && px[i] == 0;
  stbi_image_free(px);
  return black;
}

TEST(CaptureRun, AStillShowsTheKeyListsItIsGiven) {
  // The 21 compiled-in lists as files change no byte; one edited list (the
  // fade to black held at 1) changes the picture.
  std::string dir = make_temp_folder("choreography");
  ASSERT_EQ(mkdir((dir + "/same").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/edited").c_str(), 0755), 0);
  for (int i = 0; i < kSyncTrackCount; ++i)
    write_text(dir + "/same/" + key_list_file_name(track_names[i]), compiled_tracks[i].list);
  write_text(dir + "/edited/fade.black.keys", "0: 1 (0)\n");
  const std::vector<std::string> still = {kCapture, "--size", "160x90", "--at", "30"};
  for (const char* name : {"plain", "same", "edited"}) {
    std::vector<std::string> argv = still;
    if (std::string(name) != "plain") argv.insert(argv.end(), {"--choreography", dir + "/" + name});
    argv.insert(argv.end(), {"--out", dir + "/" + name + ".png"});
    ToolResult r = run_tool(argv);
    ASSERT_EQ(r.status, 0) << r.output;
  }
  const auto plain = read_bytes(dir + "/plain_030.000.png");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(plain, read_bytes(dir + "/same_030.000.png"));
  EXPECT_FALSE(all_black(dir + "/plain_030.000.png"));
  EXPECT_TRUE(all_black(dir + "/edited_030.000.png"));
}

TEST(CaptureRun, AnInterruptedVideoKeepsTheFramesMadeWithTheirSound) {
  std::string dir = make_temp_folder("interrupt");
  std::string log = dir + "/log.txt", out = dir + "/cut.mkv";
  pid_t pid = start_tool({kCapture, "--size", "160x90", "--fps", "24", "--from", "30", "--to", "60", "--out", out},
                         log);
  ASSERT_GT(pid, 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (read_text(log).find("frame 1/") == std::string::npos && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  kill(pid, SIGINT);
  EXPECT_EQ(wait_tool(pid), 130);
  std::string text = read_text(log);
  size_t at = text.find("interrupted after ");
  ASSERT_NE(at, std::string::npos) << text;
  int frames = std::stoi(text.substr(at + 18));
  EXPECT_GT(frames, 0);
  EXPECT_LT(frames, 720);
  EXPECT_EQ(probe(out, "v:0")["nb_read_frames"], std::to_string(frames));
  EXPECT_EQ(probe(out, "a:0")["codec_name"], "aac");
}

TEST(CaptureRun, ASignalDuringStartUpEndsItAtOnceWithNothingWritten) {
  std::string dir = make_temp_folder("startup");
  pid_t pid = start_tool({kCapture, "--size", "1280x720", "--at", "1", "--out", dir + "/s.png"}, dir + "/log.txt");
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(wait_until_catching(pid, SIGTERM)) << read_text(dir + "/log.txt");
  kill(pid, SIGTERM);
  EXPECT_EQ(wait_tool(pid), 130);
  EXPECT_NE(read_text(dir + "/log.txt").find("interrupted during start-up; nothing written"), std::string::npos)
      << read_text(dir + "/log.txt");
  EXPECT_TRUE(read_bytes(dir + "/s_001.000.png").empty());
}

TEST(CaptureRun, ProblemsEndWithAMessageAndAStatus) {
  std::string dir = make_temp_folder("errors");
  // Every write into this file fails as on a full disk.
  ASSERT_EQ(mkdir((dir + "/full").c_str(), 0755), 0);
  ASSERT_EQ(symlink("/dev/full", (dir + "/full/s_001.000.png").c_str()), 0);
  // A part record edited or corrupted in the shared folder.
  std::ofstream(dir + "/p.mp4.part.json") << "{\"from\":0,\"to\":1,\"range_first\":4.4e28,\"range_end\":30}";
  ASSERT_EQ(mkdir((dir + "/lists").c_str(), 0755), 0);
  write_text(dir + "/lists/camera.fov.keys", "0: 1 (0);\n9 2");
  struct Case {
    std::vector<std::string> args;
    const char* path_env;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{"--size", "0x90", "--out", dir}, nullptr, 2, "--size"},
      {{"--size", "161x90", "--out", dir + "/v.mp4"}, nullptr, 2, "even"},
      {{"--size", "160x90", "--out", "/dev/null/v.mp4"}, nullptr, 4, "cannot write"},
      {{"--size", "160x90", "--out", "/dev/null/frames"}, nullptr, 4, "/dev/null/frames"},
      {{"--size", "160x90", "--out", dir + "/v.mp4"}, "/nonexistent-bin", 4, "apt-get install ffmpeg"},
      {{"--size", "20000x16", "--out", dir + "/big"}, nullptr, 3, "20000x16"},
      {{"--size", "16x16", "--at", "1", "--out", dir + "/full/s.png"},
       nullptr,
       4,
       "/full/s_001.000.png: No space left on device"},
      {{"--out", "/proc/v.mp4"}, nullptr, 4, "the file system of /proc takes no new files"},
      {{"--out", "v.avi"}, nullptr, 2, "--out takes a folder"},
      {{"--join", dir + "/p.mp4", "--out", dir + "/v.mp4"},
       nullptr,
       2,
       "p.mp4.part.json: \"range_first\" is 4.4e+28"},
      {{"--choreography", dir + "/lists", "--at", "1", "--out", dir + "/l.png"},
       nullptr,
       2,
       "/lists/camera.fov.keys:2:3: expected ':' after the row"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {kCapture};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    ToolResult r = run_tool(argv, c.path_env);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
  }
}

}  // namespace

namespace {

TEST(CaptureRun, TheFlashReportOfACapturesFramesNamesTheSecondThatFlashes) {
  // A second of black and white every 3 frames (10 changes, the last into
  // frame 30: 5 flashes), then a second
  // of black, as numbered PNG files.
  const std::string dir = make_temp_folder("flashing");
  for (int k = 0; k < 60; ++k) {
    const uint8_t level = k < 30 && (k / 3) % 2 ? 255 : 0;
    std::vector<uint8_t> rgba(32 * 18 * 4, level);
    std::string error;
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", k);
    ASSERT_TRUE(write_png(dir + name, rgba, 32, 18, &error)) << error;
  }
  const ToolResult r = run_tool({kCapture, "--flash-report", "--frames", dir, "--size", "32x18", "--fps", "30"});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("   0 s: 5.0 general flashes"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("1 second exceeds three flashes: 0\n"), std::string::npos) << r.output;
  // Frames of another size are refused.
  EXPECT_EQ(run_tool({kCapture, "--flash-report", "--frames", dir, "--size", "64x36"}).status, 4);
}

}  // namespace
