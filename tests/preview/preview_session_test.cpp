// The player without its window: the runtime on lavapipe, a virtual sound
// device whose position moves on by a fixed step at every query (one query a
// frame), and commands in place of keys.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/audio/virtual_audio_device.h"
#include "src/headless_intro.h"
#include "sync/choreography.h"
#include "sync/key_list.h"
#include "tests/tools/tool_process.h"
#include "tools/preview/console.h"
#include "tools/preview/live_choreography.h"
#include "tools/preview/preview_session.h"
#include "tests/gpu/validation_check.h"
#include "tools/preview/status_line.h"

namespace {

constexpr int kWidth = 160, kHeight = 90;
constexpr uint32_t kFrameStep = 735;  // 1/60 s

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    intro = start_headless_intro({.screen = {kWidth, kHeight}, .validation = true}, &error);
    ASSERT_NE(intro, nullptr) << error;
    ASSERT_TRUE(sound.open(soundtrack_format));
    sound.prepare(soundtrack_block);
    sound.write(soundtrack_block);
    sound.set_step(kFrameStep);
  }
  void TearDown() override {
    if (!intro) return;
    gpu_test::expect_validation_clean(*intro->device);
    stop_headless_intro(*intro);
  }
  // The row of the frame on screen, from the time the runtime drew it with.
  int shown_row() const { return static_cast<int>(std::floor(intro->renderer->uniforms.time * 16.0 + 0.005)); }
  std::string said() {
    std::fflush(log);
    std::rewind(log);
    std::string text;
    for (int c; (c = std::fgetc(log)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  // Steps until a move's replay is over and its picture drawn.
  static void settle(PreviewSession& player) {
    do ASSERT_TRUE(player.step());
    while (player.replay_progress());
  }

  std::unique_ptr<HeadlessIntro> intro;
  platform::VirtualAudioDevice sound;
  std::FILE* log = std::tmpfile();
  Console console{log};
};

TEST_F(Player, PauseHoldsSoundAndPictureAndPlayGoesOnFromThePicture) {
  PreviewSession player(*intro, sound, nullptr, console);
  player.seek(row_position(640));
  ASSERT_TRUE(player.step());
  ASSERT_TRUE(player.step());
  const float before = intro->renderer->uniforms.time;
  player.command(Command::PlayPause);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(player.step());
  EXPECT_EQ(intro->renderer->uniforms.time, before);
  platform::AudioPosition a, b;
  sound.position(a);
  sound.position(b);
  EXPECT_EQ(a.sample, b.sample) << "a held device does not move";
  player.command(Command::PlayPause);
  ASSERT_TRUE(player.step());
  EXPECT_EQ(intro->renderer->uniforms.time, before);
  ASSERT_TRUE(player.step());
  EXPECT_GT(intro->renderer->uniforms.time, before);
}

// Stills of the same moments by the capture tool, at the rate the player
// replays the carried effects on.
std::vector<unsigned char> captured(const std::string& dir, const std::string& name) {
  int w = 0, h = 0, n = 0;
  unsigned char* px = stbi_load((dir + "/" + name).c_str(), &w, &h, &n, 4);
  if (!px || w != kWidth || h != kHeight) return {};
  std::vector<unsigned char> rgba(px, px + w * h * 4);
  stbi_image_free(px);
  return rgba;
}

bool same_colours(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (i % 4 != 3 && a[i] != b[i]) return false;
  return true;
}

// The capture's stills at 74 s (row 1184) and 129.875 s (row 2078), made
// once for the tests that compare with them; empty when the capture failed.
const std::string& capture_stills() {
  static const std::string dir = [] {
    const std::string made = make_temp_folder("preview");
    const ToolResult capture = run_tool({VELMORAND_CAPTURE, "--size", "160x90", "--fps",
                                         std::to_string(kReplayFps), "--at", "74,129.875011338", "--out",
                                         made + "/still.png"});
    EXPECT_EQ(capture.status, 0) << capture.output;
    return capture.status == 0 ? made : std::string();
  }();
  return dir;
}

TEST_F(Player, SectionAndBarMovesLandOnTheirRowsWithTheCarriedEffectsOfACapture) {
  const std::string dir = capture_stills();
  ASSERT_FALSE(dir.empty());

  PreviewSession player(*intro, sound, nullptr, console);
  player.seek(row_position(240));  // bright shafts, which must not stay on screen
  ASSERT_TRUE(player.step());
  for (int i = 0; i < 4; ++i) player.command(Command::SectionForward);  // 384 ... 1152
  player.command(Command::BarForward);
  settle(player);
  EXPECT_EQ(shown_row(), 1152 + 32);
  EXPECT_TRUE(same_colours(back_buffer_pixels(*intro), captured(dir, "still_074.000.png")))
      << "the sun shafts after the seek";

  for (int i = 0; i < 5; ++i) player.command(Command::SectionForward);  // 1279 ... 2046
  player.command(Command::BarForward);
  settle(player);
  EXPECT_EQ(shown_row(), 2046 + 32);
  EXPECT_TRUE(same_colours(back_buffer_pixels(*intro), captured(dir, "still_129.875.png")))
      << "the logo particles after the seek";
  player.command(Command::SectionBack);
  player.command(Command::BeatBack);
  settle(player);
  EXPECT_EQ(shown_row(), 2046 - 8);
}

TEST_F(Player, TheLoopWrapsToItsStart) {
  PreviewSession player(*intro, sound, nullptr, console);
  player.seek(row_position(896));
  ASSERT_TRUE(player.step());
  player.command(Command::LoopStart);
  // A mark not set yet is not shown as a row.
  EXPECT_NE(status_text({.position = row_position(896), .loop = player.loop()}).find("| loop 896-? off |"),
            std::string::npos);
  player.command(Command::BeatForward);
  ASSERT_TRUE(player.step());
  player.command(Command::LoopEnd);
  player.command(Command::LoopToggle);
  ASSERT_TRUE(player.loop().on);
  sound.set_step(row_position(2));  // two rows a frame
  int wraps = 0, last = shown_row();
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(player.step());
    EXPECT_GE(shown_row(), 896);
    EXPECT_LT(shown_row(), 904);
    if (shown_row() < last) ++wraps;
    last = shown_row();
  }
  EXPECT_GE(wraps, 2);
}

class LivePlayer : public Player {
 protected:
  void SetUp() override {
    Player::SetUp();
    dir = make_temp_folder("lists");
    for (int i = 0; i < kSyncTrackCount; ++i) save(track_names[i], compiled_tracks[i].list);
  }
  void save(const char* track, const std::string& text) {
    std::ofstream(dir + "/" + key_list_file_name(track), std::ios::binary) << text;
  }
  std::string dir;
};

TEST_F(LivePlayer, ASavedListIsOnTheNextFrameAndABrokenOneKeepsTheLastGoodKeys) {
  std::string error;
  auto live = LiveChoreography::open(dir, console, &error);
  ASSERT_NE(live, nullptr) << error;
  PreviewSession player(*intro, sound, live.get(), console);
  player.seek(row_position(1800));
  ASSERT_TRUE(player.step());
  EXPECT_GT(intro->renderer->uniforms.camFov, 2.5f);

  save("camera:fov", "0: 1.25 (0)\n");
  ASSERT_TRUE(player.step());
  EXPECT_EQ(intro->renderer->uniforms.camFov, 1.25f);
  EXPECT_NE(said().find("ms after it was written"), std::string::npos);
  EXPECT_NE(said().find("camera.fov.keys: 1 key swapped in"), std::string::npos) << said();

  save("camera:fov", "0: 2 (0);\n1000 3 (1)\n");
  ASSERT_TRUE(player.step());
  EXPECT_EQ(intro->renderer->uniforms.camFov, 1.25f);
  EXPECT_NE(said().find("camera.fov.keys:2:6: expected ':' after the row"), std::string::npos) << said();

  std::filesystem::remove(dir + "/camera.fov.keys");
  ASSERT_TRUE(player.step());
  EXPECT_EQ(intro->renderer->uniforms.camFov, 1.25f);
  EXPECT_NE(said().find("camera.fov.keys was deleted from " + dir + "; camera:fov keeps its keys"),
            std::string::npos)
      << said();
}

// One replayed frame a step: a move while the logo particles are replayed
// starts over from the new place, so does a save (whose new keys the frames
// already replayed lacked), and the sound stays held until the picture is
// there; the field is then the capture's, not the one the cut left.
TEST_F(LivePlayer, AMoveOrASaveDuringAReplayStartsItOverAndTheSoundWaitsForIt) {
  const std::string stills = capture_stills();
  ASSERT_FALSE(stills.empty());
  std::string error;
  auto live = LiveChoreography::open(dir, console, &error);
  ASSERT_NE(live, nullptr) << error;
  PreviewSession player(*intro, sound, live.get(), console, std::chrono::steady_clock::duration::zero());
  player.seek(row_position(2046 + 64));
  for (int i = 1; i <= 3; ++i) {
    ASSERT_TRUE(player.step());
    ASSERT_TRUE(player.replay_progress());
    EXPECT_EQ(player.replay_progress()->done, i);
  }
  player.command(Command::BarBack);  // a bar back from where the player is going
  ASSERT_TRUE(player.step());
  EXPECT_EQ(player.replay_progress()->target, row_position(2046 + 32));
  EXPECT_EQ(player.replay_progress()->done, 1);
  const int64_t whole = player.replay_progress()->total;
  EXPECT_GT(whole, 100);
  ASSERT_TRUE(player.step());

  int fov = 0;
  while (std::string(track_names[fov]) != "camera:fov") ++fov;
  save("camera:fov", compiled_tracks[fov].list);  // the same keys, saved again
  ASSERT_TRUE(player.step());
  EXPECT_EQ(player.replay_progress()->done, 1);
  EXPECT_EQ(player.replay_progress()->total, whole) << "the field is replayed from its seed again";
  platform::AudioPosition before, after;
  sound.position(before);
  sound.position(after);
  EXPECT_EQ(before.sample, after.sample) << "the sound plays on during the replay";

  settle(player);
  EXPECT_EQ(shown_row(), 2046 + 32);
  EXPECT_TRUE(same_colours(back_buffer_pixels(*intro), captured(stills, "still_129.875.png")));
  ASSERT_TRUE(player.step());
  sound.position(after);
  EXPECT_GT(after.sample, row_position(2046 + 32));
}

}  // namespace
