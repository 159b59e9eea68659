// FinaleKernel on hand-made inputs: rays that leave the corridor, the blend
// between pulsing and flickering, and what remains without the glow.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/gpu/gpu_harness.h"
#include "tests/scenes/kernel_runner.h"
#include "tests/scenes/reference/camera.h"
#include "tests/scenes/reference/march.h"

namespace {

using scene_test::plain_block;
using scene_test::run_kernel;

constexpr int W = 64, H = 32;

class FinaleKernel : public gpu_test::GpuTest {
 protected:
  void SetUp() override {
    device = gpu_test::make_device(16, 16);
    ASSERT_TRUE(device);
  }
  std::vector<float> render(const UniformBuffer& u) { return run_kernel(*device, "FinaleKernel", u, W, H); }
};

ref::Ray sample_ray(const UniformBuffer& u, int x, int y, int i) {
  return ref::camera_sample(u, x, y, {0.5f, 0.5f, 0.5f}, i);
}

// The haze's red follows the height of the ray; the mean of the two samples'.
float haze_red_mean(const UniformBuffer& u, int x, int y) {
  float sum = 0;
  for (int i = 0; i < 2; ++i) sum += 0.05f * (sample_ray(u, x, y, i).dir.y + 0.85f);
  return sum / 2;
}

// Down the corridor's axis a narrow view sees rays that end far from every
// surface (misses: the haze at distance 1) next to rays that pass the far
// limit close to a wall or cube (surfaces, fully fogged: the haze at their
// own distance).
TEST_F(FinaleKernel, RaysLeavingTheCorridorAreHazeAtDistanceOne) {
  UniformBuffer u = plain_block(W, H);
  u.camFov = 30;
  u.time = 90;
  u.cubeIllum = 1.5f;
  auto image = render(u);
  int misses = 0, far_surfaces = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool all_miss = true, all_far = true;
      for (int i = 0; i < 2; ++i) {
        ref::MarchEnd m = ref::march_corridor(sample_ray(u, x, y, i), u.time);
        bool undecided = std::fabs(m.field - 1.0f) < 0.05f;
        all_miss &= !undecided && m.field > 1.0f;
        all_far &= !undecided && m.field <= 1.0f && m.t > 100.0f;
      }
      const float* p = &image[(size_t(y) * W + x) * 4];
      if (all_miss || all_far) {
        EXPECT_NEAR(p[0], haze_red_mean(u, x, y), 2e-4f) << x << "," << y;
        EXPECT_NEAR(p[1], 0.05f * 0.85f, 2e-4f) << x << "," << y;
      }
      if (all_miss) {
        ++misses;
        EXPECT_EQ(p[3], 1.0f) << x << "," << y;
      }
      if (all_far) {
        ++far_surfaces;
        EXPECT_GT(p[3], 99.0f) << x << "," << y;
      }
    }
  EXPECT_GT(misses, 50);
  EXPECT_GT(far_surfaces, 50);
}

// Looking down at the floor at a moment when one slice of the corridor is
// lit by the travelling wave and some cells flicker.
UniformBuffer floor_view() {
  UniformBuffer u = plain_block(W, H);
  u.camTarget = u.camTargetOld = {0, -0.6f, 1};
  u.time = 91.2f;  // the wave is on the cells at 12 <= z < 16
  return u;
}

std::vector<float> glow_per_strength(const std::vector<float>& with, const std::vector<float>& without,
                                     float strength) {
  std::vector<float> d(with.size());
  for (size_t i = 0; i < d.size(); ++i) d[i] = (with[i] - without[i]) / strength;
  return d;
}

// The glow is E * 0.5 cubeIllum * M: dividing out cubeIllum leaves the blink
// factor M times a fixed picture. M eases from flicker at 1.0 to pulse at
// 1.1 (half way at 1.05, 0.156 of the way back from pulse at 1.075), and
// every strength from 1.1 up pulses alike.
TEST_F(FinaleKernel, BlinkBlendsFlickerIntoPulseBetweenOneAndOnePointOne) {
  UniformBuffer u = floor_view();
  auto at = [&](float strength) {
    u.cubeIllum = strength;
    return render(u);
  };
  const auto dark = at(0);
  const auto flicker = glow_per_strength(at(1.0f), dark, 1.0f);
  const auto half = glow_per_strength(at(1.05f), dark, 1.05f);
  const auto late = glow_per_strength(at(1.075f), dark, 1.075f);
  const auto pulse = glow_per_strength(at(1.1f), dark, 1.1f);
  const auto strong = glow_per_strength(at(3.0f), dark, 3.0f);
  int flickering = 0, pulsing = 0, differing = 0;
  for (size_t i = 0; i < dark.size(); ++i) {
    if (i % 4 == 3) continue;
    float scale = 2e-3f * (1 + std::fabs(flicker[i]) + std::fabs(pulse[i]));
    EXPECT_NEAR(half[i], 0.5f * (flicker[i] + pulse[i]), scale) << "pixel " << i / 4;
    EXPECT_NEAR(late[i], pulse[i] + 0.15625f * (flicker[i] - pulse[i]), scale) << "pixel " << i / 4;
    EXPECT_NEAR(strong[i], pulse[i], scale) << "pixel " << i / 4;
    flickering += std::fabs(flicker[i]) > 0.05f;
    pulsing += std::fabs(pulse[i]) > 0.05f;
    differing += std::fabs(flicker[i] - pulse[i]) > 0.05f;
  }
  EXPECT_GT(flickering, 20);
  EXPECT_GT(pulsing, 20);
  EXPECT_GT(differing, 20);
}

// plasmaOffset shifts only the glow's clock: without glow it changes nothing.
TEST_F(FinaleKernel, WithoutGlowOnlyLightStepGlowAndFogRemain) {
  UniformBuffer u = floor_view();
  for (float strength : {0.0f, 1.1f}) {
    u.cubeIllum = strength;
    u.plasmaOffset = 0;
    auto before = render(u);
    u.plasmaOffset = 1.5f;
    auto after = render(u);
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    if (strength == 0.0f) {
      EXPECT_EQ(changed, 0);
    } else {
      EXPECT_GT(changed, 50);
    }
  }
}

}  // namespace
