// The calls one frame makes through the GPU layer: gates, bindings, dispatch
// sizes, viewports and the constant block of every pass.
#include <algorithm>

#include "src/frame_clock.h"
#include "src/frame_passes.h"
#include "src/gpu_setup.h"
#include "sync/choreography.h"
#include "tests/runtime/clock_fixture.h"

namespace {

// First sample frames at which the row reaches the gates (see the clock tests).
constexpr uint32_t kBeforeRow1151 = 3172430, kAtRow1151 = 3172431;
constexpr uint32_t kBeforeRow1406 = 3875273, kAtRow1406 = 3875274;
constexpr uint32_t kRow1300 = 3583125;

class PassSequence : public ClockFixture {
 protected:
  void build(Size screen) {
    renderer = std::make_unique<Renderer>(device, screen);
    ASSERT_EQ(present_startup_clear(*renderer), "");
    ASSERT_EQ(create_gpu_resources(*renderer), "");
  }
  std::vector<std::string> frame_at(uint32_t samples) {
    device.clear();
    start_at(samples);
    run_frame(*renderer, playback);
    return device.filtered({"cs_set_shader", "dispatch", "draw", "present", "om_", "viewport", "ps_set_shader"});
  }
  static bool has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
  // Replaces the glitchCredits track by one constant key for one test.
  void hold_glitch_credits(float value) {
    Track* t = track_table[20];
    if (!saved_keys) {
      saved_keys = t->keys;
      saved_count = t->key_count;
    }
    constant_key = {0, value, Interpolation::Step};
    t->keys = &constant_key;
    t->key_count = 1;
  }
  void TearDown() override {
    if (saved_keys) {
      track_table[20]->keys = saved_keys;
      track_table[20]->key_count = saved_count;
    }
    ClockFixture::TearDown();
  }
  std::unique_ptr<Renderer> renderer;
  TrackKey* saved_keys = nullptr;
  int32_t saved_count = 0;
  TrackKey constant_key{};
};

TEST_F(PassSequence, StartupClearDispatchesWholeGroupsAndPresents) {
  renderer = std::make_unique<Renderer>(device, Size{1366, 768});
  ASSERT_EQ(present_startup_clear(*renderer), "");
  auto calls = device.filtered({"cs_set_shader", "dispatch", "present", "cs_uav"});
  std::vector<std::string> expect = {"cs_set_shader ClearKernel", "cs_uav 0 backBuffer@0", "dispatch 85 96 1",
                                     "present 1"};
  EXPECT_EQ(calls, expect);
}

// An object the device refuses ends that step before it draws or presents
// anything, and the step names the object as the device reported it.
TEST_F(PassSequence, ARefusedObjectStopsTheSetUpAndIsNamed) {
  renderer = std::make_unique<Renderer>(device, Size{64, 32});
  device.refuse = "ClearKernel";
  EXPECT_EQ(present_startup_clear(*renderer), "cannot create program ClearKernel");
  EXPECT_TRUE(device.filtered({"dispatch", "present"}).empty());

  for (const char* refused : {"renderTex", "CompositeKernel"}) {
    RecordingDevice fresh;
    fresh.refuse = refused;
    Renderer r(fresh, {64, 32});
    ASSERT_EQ(present_startup_clear(r), "");
    fresh.clear();
    EXPECT_NE(create_gpu_resources(r).find(refused), std::string::npos) << refused;
    EXPECT_TRUE(fresh.filtered({"draw", "flush"}).empty()) << refused;
  }
}

TEST_F(PassSequence, SkyAndFirstSceneUntilRow1406ThenTheFinale) {
  build({1920, 1080});
  auto before = frame_at(kBeforeRow1406);
  EXPECT_TRUE(has(before, "cs_set_shader SkyKernel"));
  EXPECT_TRUE(has(before, "dispatch 64 64 1"));
  EXPECT_TRUE(has(before, "cs_set_shader SceneKernel"));
  EXPECT_FALSE(has(before, "cs_set_shader FinaleKernel"));
  auto after = frame_at(kAtRow1406);
  EXPECT_FALSE(has(after, "cs_set_shader SkyKernel"));
  EXPECT_TRUE(has(after, "cs_set_shader FinaleKernel"));
  EXPECT_TRUE(has(after, "dispatch 120 135 1"));
}

TEST_F(PassSequence, EachGateReadsTheClockAfresh) {
  build({1920, 1080});
  // The clock moves on between the sky gate and the scene choice: a frame
  // that straddles row 1406 draws the sky and then the finale.
  device.clear();
  start_at(kBeforeRow1406 - 28, 1);
  run_frame(*renderer, playback);
  auto calls = device.filtered({"cs_set_shader"});
  EXPECT_TRUE(has(calls, "cs_set_shader SkyKernel"));
  EXPECT_TRUE(has(calls, "cs_set_shader FinaleKernel"));
}

TEST_F(PassSequence, SunShaftsStopAtRow1151) {
  build({1920, 1080});
  auto before = frame_at(kBeforeRow1151);
  EXPECT_TRUE(has(before, "cs_set_shader ScatteringKernel"));
  EXPECT_TRUE(has(before, "dispatch 240 135 1"));
  auto after = frame_at(kAtRow1151);
  EXPECT_FALSE(has(after, "cs_set_shader ScatteringKernel"));
}

TEST_F(PassSequence, LogoParticlesReplaceTheSceneFrom100) {
  build({1920, 1080});
  hold_glitch_credits(99.99f);
  auto scene = frame_at(kRow1300);
  EXPECT_TRUE(has(scene, "cs_set_shader SceneKernel"));
  EXPECT_FALSE(has(scene, "cs_set_shader LogoParticleStep"));
  hold_glitch_credits(100.0f);
  auto particles = frame_at(kRow1300);
  EXPECT_FALSE(has(particles, "cs_set_shader SceneKernel"));
  std::vector<std::string> path;
  for (const auto& c : particles)
    if (c.find("LogoParticle") != std::string::npos || c == "dispatch 120 135 1") path.push_back(c);
  std::vector<std::string> expect = {"cs_set_shader LogoParticleStep", "dispatch 120 135 1",
                                     "cs_set_shader LogoParticleShade", "dispatch 120 135 1",
                                     "dispatch 120 135 1"};  // the last is the composite
  EXPECT_EQ(path, expect);
}

TEST_F(PassSequence, ParticleStatesAlternateEveryPresentedFrame) {
  build({320, 180});
  hold_glitch_credits(101.0f);
  std::vector<std::string> written;
  for (int frame = 0; frame < 3; ++frame) {
    frame_at(kRow1300);
    auto uavs = device.filtered({"cs_uav 0 particleState"});
    ASSERT_EQ(uavs.size(), 1u);
    written.push_back(uavs[0]);
    auto reads = device.filtered({"cs_srv 0 logo"});
    ASSERT_EQ(reads.size(), 1u);
    bool wrote0 = uavs[0].find("particleStateTex0") != std::string::npos;
    std::string other = wrote0 ? "particleStateTex1@0" : "particleStateTex0@0";
    EXPECT_NE(reads[0].find(other), std::string::npos) << "the step reads the other state";
  }
  EXPECT_EQ(written[0], "cs_uav 0 particleStateTex0@0");
  EXPECT_EQ(written[1], "cs_uav 0 particleStateTex1@0");
  EXPECT_EQ(written[2], "cs_uav 0 particleStateTex0@0");
}

TEST_F(PassSequence, BloomViewportsAndInvResAt1920x1080) {
  build({1920, 1080});
  auto calls = frame_at(kRow1300);
  std::vector<std::string> viewports;
  for (const auto& c : calls)
    if (c.rfind("viewport", 0) == 0) viewports.push_back(c);
  std::vector<std::string> expect = {
      "viewport 960 540", "viewport 480 270", "viewport 240 135", "viewport 120 67", "viewport 60 33",
      "viewport 30 16",   "viewport 15 8",    "viewport 30 16",   "viewport 60 33",  "viewport 120 67",
      "viewport 240 135", "viewport 480 270", "viewport 960 540"};
  EXPECT_EQ(viewports, expect);

  auto uploads = device.uploads();
  ASSERT_EQ(uploads.size(), 16u) << "1 fill + 1 scene + 1 bright + 2 x 6 levels + 1 composite";
  EXPECT_EQ(uploads[0].invRes.x, 1.0f / 1920.0f);   // the fill
  EXPECT_EQ(uploads[1].invRes.x, 1.0f / 1920.0f);   // scene at the render size
  EXPECT_EQ(uploads[2].invRes.y, 1.0f / 1080.0f);   // bright pass: the screen, not the target
  EXPECT_EQ(uploads[3].invRes.x, 1.0f / 480.0f);    // level 1 down
  EXPECT_EQ(uploads[5].invRes.y, 1.0f / 67.5f);     // level 3 keeps its untruncated size
  EXPECT_EQ(uploads[14].invRes.x, 1.0f / 960.0f);   // level 0 up
  EXPECT_EQ(uploads[15].invRes.y, 1.0f / 1080.0f);  // composite
  EXPECT_TRUE(has(calls, "om_set_blend_state additive"));
  EXPECT_EQ(calls.back(), "present 1");
}

TEST_F(PassSequence, RenderSizeDrivesTheSceneWhenTheScreenIsWider) {
  build({2048, 1152});
  auto calls = frame_at(kRow1300);
  EXPECT_TRUE(has(calls, "dispatch 119 135 1")) << "1919 / 16 groups for the scene";
  EXPECT_EQ(device.uploads()[1].invRes.x, 1.0f / 1919.0f);
  EXPECT_TRUE(has(calls, "dispatch 128 144 1")) << "the composite covers the screen";
}

TEST_F(PassSequence, SingleBloomLevelSkipsTheChainButSetsTheBlend) {
  build({16, 16});
  ASSERT_EQ(renderer->bloomLevels, 1);
  auto calls = frame_at(kRow1300);
  EXPECT_FALSE(has(calls, "ps_set_shader BloomDownsample"));
  EXPECT_FALSE(has(calls, "ps_set_shader BloomUpsample"));
  EXPECT_TRUE(has(calls, "ps_set_shader BloomBrightPass"));
  EXPECT_TRUE(has(calls, "om_set_blend_state additive"));
  EXPECT_TRUE(has(calls, "om_set_blend_state null"));
}

TEST_F(PassSequence, CompositeBindsTheCreditsImageOfThePage) {
  build({320, 180});
  frame_at(static_cast<uint32_t>((934.5 - 0.005) / 16 * 44100));  // Texts:credits 12 -> page 11
  auto srvs = device.filtered({"cs_srv 0 renderTex@0 scatteringTex@0"});
  ASSERT_EQ(srvs.size(), 1u);
  EXPECT_EQ(srvs[0], "cs_srv 0 renderTex@0 scatteringTex@0 bloomTex@0 dirtTex@0 credits_03@0");
}

TEST_F(PassSequence, SetUpCreatesEveryObjectWithItsShape) {
  build({1920, 1080});
  const Renderer& r = *renderer;
  auto check = [&](gpu::Texture t, int w, int h, int mips, gpu::Format f) {
    gpu::TextureDesc d = device.texture_desc(t);
    EXPECT_EQ(d.width, w) << (d.label ? d.label : "");
    EXPECT_EQ(d.height, h) << (d.label ? d.label : "");
    EXPECT_EQ(d.mip_levels, mips) << (d.label ? d.label : "");
    EXPECT_EQ(d.format, f) << (d.label ? d.label : "");
  };
  using gpu::Format;
  check(r.skyTex, 512, 512, 6, Format::RGBA16F);
  check(r.scatteringTex, 1920, 1080, 1, Format::RGBA16F);
  check(r.dirtTex, 1920, 1080, 1, Format::RGBA16F);
  check(r.particleStateTex[0], 1920, 1080, 6, Format::RGBA16F);
  check(r.particleStateTex[1], 1920, 1080, 6, Format::RGBA16F);
  check(r.logoTex, 1305, 567, 1, Format::RGBA8);
  check(r.bannerTex, 1920, 473, 1, Format::RGBA8);
  check(r.vlmArmyTex, 8192, 701, 1, Format::RGBA8);
  for (auto t : r.creditsTex) check(t, 1675, 941, 1, Format::RGBA8);
  check(r.blueNoiseTex, 64, 64, 4, Format::RGBA8);
  check(r.bloomTex, 960, 540, 7, Format::RGBA16F);
  check(r.renderTex, 1920, 1080, 6, Format::RGBA16F);
  EXPECT_TRUE(device.texture_desc(r.blueNoiseTex).generate_mips);
  EXPECT_EQ(device.view_desc(r.skySrv).mip_levels, 6);
  EXPECT_EQ(device.view_desc(r.renderSrv).mip_levels, 6);
  EXPECT_EQ(device.view_desc(r.blueNoiseSrv).mip_levels, 4);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(device.view_desc(r.bloomSrv[i]).most_detailed_mip, i);
    EXPECT_EQ(device.view_desc(r.bloomSrv[i]).mip_levels, 1);
    EXPECT_EQ(device.view_desc(r.bloomRtv[i]).most_detailed_mip, i);
  }
  // Left in place for the frames: the lens dirt drawn once, pixel shader unset.
  auto tail = device.filtered({"ps_set_shader", "draw", "om_rt"});
  std::vector<std::string> expect = {"om_rt dirtTex@0", "ps_set_shader LensDirtPS", "draw 3 0",
                                     "ps_set_shader null"};
  EXPECT_EQ(tail, expect);
}

}  // namespace
