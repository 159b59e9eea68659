// The helpers a slip would change silently, evaluated on the GPU at chosen
// inputs and compared with C++ written from their definitions.
#include <array>
#include <cmath>
#include <vector>

#include "tests/gpu/gpu_harness.h"
#include "tests/scenes/probe_runner.h"
#include "tests/scenes/reference/background.h"
#include "tests/scenes/reference/fields.h"
#include "tests/scenes/reference/noise.h"
#include "tests/scenes/reference/pattern.h"

namespace {

using gpu_test::GpuTest;
using scene_test::run_probe;

struct F4 {
  float x, y, z, w;
};

// The programs keep the hashes' multiply-adds unfused, so they agree with
// the C++ to a few units in the last place; a wrong formula is off by a
// uniformly random amount instead.
void expect_close(const std::vector<float>& gpu, const std::vector<float>& cpu, float tolerance,
                  const char* what) {
  ASSERT_EQ(gpu.size(), cpu.size());
  for (size_t i = 0; i < gpu.size(); ++i)
    EXPECT_NEAR(gpu[i], cpu[i], tolerance * std::max(1.0f, std::fabs(cpu[i]))) << what << " at input " << i;
}

template <size_t N>
std::vector<std::vector<float>> probe(gpu::Device& d, const char* program, const std::array<F4, N>& in, int rows,
                                      const scene_test::ProbeBindings& b = {}) {
  std::array<F4, 32> block{};
  std::copy(in.begin(), in.end(), block.begin());
  return run_probe(d, program, block.data(), sizeof block, N, rows, b);
}

class HelperFunctions : public GpuTest {
 protected:
  void SetUp() override {
    device = gpu_test::make_device(16, 16);
    ASSERT_TRUE(device);
  }
};

TEST_F(HelperFunctions, HashAndValueNoisesMatchTheirDefinitions) {
  const std::array<F4, 12> in{{{0, 0, 0, 0},
                               {1, 1, 1, 0},
                               {0.25f, 0.5f, 0.75f, 0},
                               {7, -3.5f, 13.1f, 0},
                               {-3.5f, 41.9f, -2.25f, 0},
                               {100.37f, -77.7f, 5.5f, 0},
                               {1000, 1001.5f, 1002.25f, 0},
                               {1999, 10000.5f, 10000.5f, 0},
                               {118.5f, 9999.2f, 10003.7f, 0},
                               {12345.678f, -5.5f, 2.5f, 0},
                               {-250.25f, 100.5f, 101.2f, 3.0f},
                               {1055.0f, 1.0e5f + 0.3f, 2.0e5f + 0.6f, 0}}};
  auto gpu = probe(*device, "ProbeNoiseCS", in, 5);
  std::vector<float> hh, n2, n3, fb, st;
  for (const F4& p : in) {
    hh.push_back(ref::Hh(p.x));
    n2.push_back(ref::value_noise2({p.x, p.y}));
    n3.push_back(ref::value_noise3({p.x, p.y, p.z}));
    fb.push_back(ref::fbm({p.x, p.y, p.z}));
    st.push_back(ref::star_noise({p.x, p.y}));
  }
  expect_close(gpu[0], hh, 1e-5f, "Hh");
  expect_close(gpu[1], n2, 1e-5f, "pattern noise");
  expect_close(gpu[2], n3, 1e-5f, "sky noise");
  expect_close(gpu[3], fb, 1e-5f, "fbm");
  expect_close(gpu[4], st, 1e-5f, "star noise");
}

TEST_F(HelperFunctions, CubeGlowMatchesInBothTuningsOnFacesEdgesAndCorners) {
  struct Case {
    F4 local_seed, normal_tuning;
  };
  const std::array<Case, 8> cases{{
      {{0.5f, 0.1f, -0.2f, 0.31f}, {1, 0, 0, 0}},                 // side face
      {{0.2f, 0.5f, 0.3f, 1.2f}, {0, -1, 0, 0}},                  // top face, other seed
      {{0.1f, -0.3f, -0.5f, 1.9f}, {0, 0, -1, 0}},                // front face
      {{0.499f, 0.4975f, 0.2f, 0.8f}, {0.7071f, 0.7071f, 0, 0}},  // on an edge: the rim
      {{0.5f, 0.1f, -0.2f, 0.31f}, {1, 0, 0, 1}},                 // the same points, finale tuning
      {{-0.2f, 0.5f, 0.3f, 2.1f}, {0, 1, 0, 1}},
      {{0.45f, -0.5f, 0.49f, 1.4f}, {0.1f, -0.9f, 0.42f, 1}},
      {{0.5f, 0.5f, 0.5f, 0.05f}, {0.577f, 0.577f, 0.577f, 1}},  // corner
  }};
  struct Block {
    std::array<F4, 16> local_seed{}, normal_tuning{};
    F4 clock{};
  } block;
  for (size_t i = 0; i < cases.size(); ++i) {
    block.local_seed[i] = cases[i].local_seed;
    block.normal_tuning[i] = cases[i].normal_tuning;
  }
  for (float time : {62.5f, 118.0f}) {
    block.clock = {time, 1.5f, 0, 0};
    auto gpu = run_probe(*device, "ProbePatternCS", &block, sizeof block, cases.size(), 3);
    std::array<std::vector<float>, 3> cpu;
    for (const Case& c : cases) {
      ref::PatternInput in{c.normal_tuning.w < 0.5f ? ref::Tuning::Scene : ref::Tuning::Finale, c.local_seed.w,
                           time, 1.5f};
      ref::V3 e = ref::cube_emission({c.local_seed.x, c.local_seed.y, c.local_seed.z},
                                     {c.normal_tuning.x, c.normal_tuning.y, c.normal_tuning.z}, in);
      cpu[0].push_back(e.x);
      cpu[1].push_back(e.y);
      cpu[2].push_back(e.z);
    }
    for (int ch = 0; ch < 3; ++ch) expect_close(gpu[ch], cpu[ch], 1e-5f, "cube glow");
  }
}

TEST_F(HelperFunctions, CorridorAndCubeFieldDistancesMatch) {
  const std::array<F4, 10> in{{{0, 0, 0, 90},
                               {1.0f, -2.0f, 10.3f, 95.2f},
                               {3.5f, 2.2f, -400.7f, 110},
                               {-5, 1.9f, -1356.6f, 106.28f},
                               {0.3f, -1.7f, 34.1f, 90.65f},
                               {0.5f, 0.3f, 7.0f, 8},
                               {-1.2f, 0.6f, 12.3f, 40.25f},
                               {9.1f, 0.7f, -38.5f, 75},
                               {30, 0.5f, 3, 20},
                               {-17.2f, 1.1f, -150.3f, 81.3f}}};
  struct Block {
    std::array<F4, 32> input{};
    F4 settings{4, 0, 0, 0};
  } block;
  std::copy(in.begin(), in.end(), block.input.begin());
  auto gpu = run_probe(*device, "ProbeFieldCS", &block, sizeof block, in.size(), 2);
  std::vector<float> corridor, cubes;
  for (const F4& p : in) {
    corridor.push_back(ref::corridor_field({p.x, p.y, p.z}, p.w));
    cubes.push_back(ref::scene_field({p.x, p.y, p.z}, p.w, 4.0f));
  }
  expect_close(gpu[0], corridor, 1e-6f, "corridor field");
  expect_close(gpu[1], cubes, 1e-6f, "cube field");
}

TEST_F(HelperFunctions, BackgroundByDayAndByNight) {
  // As the half-float panorama holds it.
  auto half = [](float v) { return gpu::half_to_float(gpu::float_to_half(v)); };
  const ref::V3 sky{half(0.3f), half(0.4f), half(0.6f)};
  const std::array<ref::V3, 8> dirs{{{0.1f, 0.8f, 0.6f},
                                     {0.3f, 0.05f, 0.95f},
                                     {-0.6f, 0.2f, 0.7f},
                                     {0.2f, -0.5f, 0.8f},
                                     {-0.8804509f, 0.17609018f, -0.44022545f},  // the moon's dark part
                                     {-0.896263f, 0.169419f, -0.40989f},        // its crescent
                                     {0.073753f, 0.1659442f, 0.9833732f},       // a star
                                     {0.05f, 0.3f, -0.95f}}};
  std::array<F4, 8> in;
  for (size_t i = 0; i < dirs.size(); ++i) {
    ref::V3 d = ref::normalize(dirs[i]);
    in[i] = {d.x, d.y, d.z, 0};
  }
  for (float sun_time : {1.0f, 4.4f}) {
    UniformBuffer u{};
    u.time = 85.0f;
    u.sunTime = sun_time;
    auto gpu = probe(*device, "ProbeBackgroundCS", in, 3, {.block = u, .flat_sky = float3{sky.x, sky.y, sky.z}});
    std::array<std::vector<float>, 3> cpu;
    for (const F4& d : in) {
      ref::V3 c = ref::background({d.x, d.y, d.z}, sky, u.time, sun_time);
      cpu[0].push_back(c.x);
      cpu[1].push_back(c.y);
      cpu[2].push_back(c.z);
    }
    for (int ch = 0; ch < 3; ++ch) expect_close(gpu[ch], cpu[ch], 1e-5f, sun_time < 3 ? "day" : "night");
  }
}

}  // namespace
