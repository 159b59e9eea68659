// SceneKernel on hand-made inputs: where misses end, the fog rules, the
// lettering on the ground, the glow's strength and the output clamp.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/gpu/gpu_harness.h"
#include "tests/scenes/kernel_runner.h"
#include "tests/scenes/reference/camera.h"
#include "tests/scenes/reference/fields.h"
#include "tests/scenes/reference/march.h"

namespace {

using scene_test::flat_image;
using scene_test::KernelInputs;
using scene_test::plain_block;
using scene_test::run_kernel;

constexpr int W = 64, H = 32;

struct Pixel {
  float r, g, b, a;
};

Pixel pixel(const std::vector<float>& image, int x, int y) {
  const float* p = &image[(size_t(y) * W + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

ref::Ray sample_ray(const UniformBuffer& u, int x, int y, int i) {
  return ref::camera_sample(u, x, y, {0.5f, 0.5f, 0.5f}, i);
}

class SceneKernel : public gpu_test::GpuTest {
 protected:
  void SetUp() override {
    device = gpu_test::make_device(16, 16);
    ASSERT_TRUE(device);
  }
  std::vector<float> render(const UniformBuffer& u, const KernelInputs& in = {}) {
    return run_kernel(*device, "SceneKernel", u, W, H, in);
  }
};

// Where the logo plane would show through, as the kernel maps it; false near
// the image's edges, where the sampler blends with the transparent border.
bool inside_logo(const UniformBuffer& u, const ref::Ray& r) {
  float t = (u.time + 2.0f - r.origin.z) / r.dir.z;
  float lx = -(r.dir.x * t + r.origin.x) / 1920.0f * 800.0f + 0.45f;
  float ly = -(r.dir.y * t) / 473.0f * 800.0f + 1.9f;
  return t > 0 && lx > 0.2f && lx < 0.8f && ly > 0.2f && ly < 0.8f;
}

// Low over the ground, the rays that would meet the logo pass the far limit
// while still near the ground or the cubes: they are surfaces, fogged into
// the background. From higher up the same rays end far from everything:
// misses, with the logo over the background.
TEST_F(SceneKernel, MissesPastTheFarLimitShowTheLogoButSurfacesFadedIntoFogDoNot) {
  KernelInputs in;
  in.logo = flat_image(4, 4, 0, 1, 0, 1);
  int logo = 0, fogged = 0;
  for (float height : {0.2f, 2.5f}) {
    UniformBuffer u = plain_block(W, H);
    u.camPos = u.camPosOld = {0, height, 0};
    u.camFov = 20;  // narrow: rows a few thousandths apart in slope
    u.time = 38;    // the logo plane at z = 40, just beyond the far limit
    u.showLogo = 1;
    auto image = render(u, in);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        bool all_miss = true, all_far_surface = true, all_in_logo = true;
        for (int i = 0; i < 2; ++i) {
          ref::Ray r = sample_ray(u, x, y, i);
          ref::MarchEnd m = ref::march_scene(r, u.time, 0);
          bool undecided = std::fabs(m.field - 1.0f) < 0.05f;
          all_miss &= !undecided && m.field > 1.0f;
          all_far_surface &= !undecided && m.field <= 1.0f && m.t > 35.0f;
          all_in_logo &= inside_logo(u, r);
        }
        if (!all_in_logo) continue;
        Pixel p = pixel(image, x, y);
        if (all_miss) {
          ++logo;
          EXPECT_NEAR(p.r, 0.0f, 0.01f) << x << "," << y;
          EXPECT_NEAR(p.g, 1.0f, 0.01f) << x << "," << y;
        } else if (all_far_surface) {
          ++fogged;
          EXPECT_LT(p.g, 0.6f) << "the fog colour never carries the logo, at " << x << "," << y;
        }
      }
  }
  EXPECT_GT(logo, 10);
  EXPECT_GT(fogged, 10);
}

// After sunset, with the glow off, surfaces are black until the fog mixes
// in the background (a flat sky): the colour is the fog curve of the
// distance, which the alpha channel carries.
UniformBuffer dusk_block() {
  UniformBuffer u = plain_block(W, H);
  u.camPos = u.camPosOld = {0, 3, -2};
  u.camTarget = u.camTargetOld = {0, -1, 1};
  u.sunTime = -0.054f;  // sun just below the horizon, before the night sky
  u.cubesRepeat = 4;
  return u;
}

enum class Hit { Ground, Cube, Unsure };

// What both samples of a pixel end on, by the CPU march.
Hit both_samples_hit(const UniformBuffer& u, int x, int y) {
  Hit first = Hit::Unsure;
  for (int i = 0; i < 2; ++i) {
    ref::Ray r = sample_ray(u, x, y, i);
    ref::MarchEnd m = ref::march_scene(r, u.time + u.plasmaOffset, u.cubesRepeat);
    ref::V3 p = r.origin + r.dir * m.t;
    float cubes = ref::scene_cubes(p, u.time + u.plasmaOffset, u.cubesRepeat);
    if (m.field > 0.01f || std::fabs(cubes - p.y) < 0.02f) return Hit::Unsure;
    Hit h = cubes < p.y ? Hit::Cube : Hit::Ground;
    if (i == 1 && h != first) return Hit::Unsure;
    first = h;
  }
  return first;
}

float fog(float distance, float start) { return ref::ease(ref::saturate((distance - start) / (35 - start))); }

TEST_F(SceneKernel, FogOnCubesStartsAtFiveUntilSecond48AndAt25After) {
  const float sky = gpu::half_to_float(gpu::float_to_half(0.3f));  // green of the flat sky
  for (float time : {47.0f, 49.0f}) {
    UniformBuffer u = dusk_block();
    u.time = time;
    auto image = render(u);
    int cubes = 0, ground = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        Pixel p = pixel(image, x, y);
        if (p.a < 6.0f || p.a > 9.5f) continue;  // fog below 5 is zero anyway; alpha clamps at 10
        Hit hit = both_samples_hit(u, x, y);
        if (hit == Hit::Cube) {
          ++cubes;
          EXPECT_NEAR(p.g, sky * fog(p.a, time > 48 ? 25.0f : 5.0f), 2e-3f) << time << " s at " << x << "," << y;
        } else if (hit == Hit::Ground) {
          ++ground;
          EXPECT_EQ(p.g, 0.0f) << "ground fog starts at 15, at " << x << "," << y;
        }
      }
    EXPECT_GT(cubes, 20) << time;
    EXPECT_GT(ground, 20) << time;
  }
}

// The glow is the only term cubeIllum scales: twice the strength, twice the
// difference to the picture without glow, on the cubes and in the light they
// cast on the ground.
TEST_F(SceneKernel, CubeIllumScalesTheGlowAloneAndZeroRemovesIt) {
  UniformBuffer u = dusk_block();
  u.time = 47;
  std::vector<std::vector<float>> images;
  for (float strength : {0.0f, 0.1f, 0.2f}) {
    u.cubeIllum = strength;
    images.push_back(render(u));
  }
  int compared = 0, glowing_ground = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Hit hit = both_samples_hit(u, x, y);
      for (int c = 0; c < 3; ++c) {
        size_t i = (size_t(y) * W + x) * 4 + c;
        float none = images[0][i], once = images[1][i], twice = images[2][i];
        if (hit == Hit::Ground && pixel(images[0], x, y).a < 6) {
          EXPECT_EQ(none, 0.0f) << x << "," << y;
        }
        if (hit == Hit::Ground && once - none > 1e-3f) ++glowing_ground;
        if (std::min({none, once, twice}) <= 1e-3f) continue;  // clamped at zero: not linear there
        ++compared;
        EXPECT_NEAR(twice - none, 2 * (once - none), 4e-3f * std::max(1.0f, twice)) << x << "," << y;
      }
    }
  EXPECT_GT(compared, 100);
  EXPECT_GT(glowing_ground, 10);
}

// Lettering texture: opaque where u > 0.5 and v > 0.53, that is on the
// ground for 0 < z < 15.8 and 0 < x < 1.
scene_test::Image lettering_quarter() {
  scene_test::Image image = flat_image(64, 64, 0, 0, 0, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      image.rgba[(size_t(y) * 64 + x) * 4 + 3] = ((x + 0.5f) / 64 > 0.5f && (y + 0.5f) / 64 > 0.53f) ? 1.0f : 0.0f;
  return image;
}

TEST_F(SceneKernel, LetteringBrightensOnlyTheGroundItLiesOn) {
  UniformBuffer u = plain_block(W, H);
  u.camPos = u.camPosOld = {0, 3, 15.6f};  // above the middle of the strip's length
  u.camTarget = u.camTargetOld = {0, -1, 0.05f};
  u.sunTime = 2.0f;  // from -x: the cubes at x = +1 cast their shadows away from the strip
  KernelInputs in;
  in.lettering = lettering_quarter();
  auto plain = render(u, in);
  u.textVlmArmy = 1;
  auto lettered = render(u, in);
  int on = 0, off = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool all_on = true, all_off = true;
      for (int i = 0; i < 2; ++i) {
        ref::Ray r = sample_ray(u, x, y, i);
        ref::V3 g = r.origin + r.dir * (-r.origin.y / r.dir.y);
        all_on &= g.x > 0.05f && g.x < 0.95f && g.z > 0.3f && g.z < 15.3f;
        all_off &= g.x < -0.05f || g.x > 1.05f || (g.z > 16.3f && g.z < 31.0f);
      }
      if (both_samples_hit(u, x, y) != Hit::Ground) continue;
      float before = pixel(plain, x, y).g, after = pixel(lettered, x, y).g;
      if (before < 0.02f) continue;
      if (all_on) {
        ++on;
        EXPECT_NEAR(after / before, 2.0f, 0.01f) << x << "," << y;
      }
      if (all_off) {
        ++off;
        EXPECT_NEAR(after / before, 1.0f, 0.01f) << x << "," << y;
      }
    }
  EXPECT_GT(on, 20);
  EXPECT_GT(off, 20);
}

TEST_F(SceneKernel, EveryChannelIsClampedToZeroToTen) {
  UniformBuffer u = dusk_block();
  u.time = 30;
  u.cubeIllum = 1000;  // glow far beyond 10, and far below 0 where the plasma's cube is negative
  u.camTarget = u.camTargetOld = {0, -0.2f, 1};  // some sky too
  KernelInputs in;
  in.sky = flat_image(16, 8, 50, 50, 50, 1);
  auto image = render(u, in);
  int at_ten = 0, at_zero = 0, sky_at_ten = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Pixel p = pixel(image, x, y);
      for (float c : {p.r, p.g, p.b, p.a}) {
        ASSERT_GE(c, 0.0f) << x << "," << y;
        ASSERT_LE(c, 10.0f) << x << "," << y;
      }
      at_ten += p.r == 10.0f || p.g == 10.0f || p.b == 10.0f;
      at_zero += p.r == 0.0f || p.g == 0.0f || p.b == 0.0f;
      sky_at_ten += p.a == 10.0f && p.r == 10.0f && p.g == 10.0f && p.b == 10.0f;
    }
  EXPECT_GT(at_ten, 20);
  EXPECT_GT(at_zero, 5);
  EXPECT_GT(sky_at_ten, 20) << "misses lie at distance 999, written as 10";
}

}  // namespace
