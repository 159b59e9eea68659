// ScatteringKernel against the shadow march and the logo plane in double
// precision.
//
// A sample is lit or not, so a ray grazing a cube edge can decide either
// way between float32 and double. The comparison is therefore made on the
// number of lit samples, which must match exactly for nearly every pixel
// and may be one apart for a few; the colour of a pixel with the same count
// must match within 2e-3 relative (the RGBA16F texel's 4.9e-4 and the
// phase's pow in float32).
#include <algorithm>
#include <cmath>
#include <random>

#include "tests/gpu/gpu_harness.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_reference/reference_maths.h"
#include "tools/kernel_reference/reference_scattering.h"
#include "tools/kernel_reference/reference_scene.h"

namespace {

using reference::Image;
using reference::Vec3;

constexpr int kWidth = 48, kHeight = 32;

// What one lit sample adds to the pixel, the unit of the kernel's output.
Vec3 one_sample(const UniformBuffer& u, int x, int y) {
  Vec3 d = reference::camera_ray(u, x, y), s = reference::sun_direction(u.sunTime);
  double b = reference::clamp01(1.9604 - 1.96 * dot(s, d));
  double phase = 0.0396 / (4 * reference::kPi * std::pow(b, 1.5));
  return Vec3{1.0, 0.7, 0.5} * (2 * phase * reference::ease(reference::clamp01(10 * s.y)));
}

UniformBuffer looking_down_the_rows() {
  UniformBuffer u{};
  u.invRes = {1.0f / kWidth, 1.0f / kHeight};
  u.time = 1.0f;
  u.plasmaOffset = 0.4f;
  u.camPos = {0.5f, 1.0f, -2.0f};
  u.camTarget = {0.1f, -0.2f, 1.0f};
  u.camFov = 1.2f;
  u.camRoll = 0.05f;
  u.camPitch = -0.02f;
  u.sunTime = 1.2f;
  u.cubesRepeat = 1.0f;
  return u;
}

// Scene distances swinging around `base` across the picture.
Image scene_distances(double base, double swing = 4.0) {
  Image scene(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      scene.set(x, y, {0.2, 0.3, 0.4, base > 0 ? base + swing * std::sin(0.2 * x) + 0.1 * y : 0.0});
  return reference::as_half(scene);
}

std::vector<uint8_t> noise_bytes() {
  std::mt19937 random(7);
  std::vector<uint8_t> bytes(64 * 64 * 4);
  for (uint8_t& b : bytes) b = uint8_t(random() & 255);
  return bytes;
}

// An opaque logo with a transparent window in its middle.
std::vector<uint8_t> logo_bytes(bool opaque) {
  std::vector<uint8_t> bytes(16 * 8 * 4, 255);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      bytes[(y * 16 + x) * 4 + 3] = opaque && !(x >= 6 && x < 10 && y >= 3 && y < 5) ? 255 : 0;
  return bytes;
}

struct Scene {
  Image distances = scene_distances(6.0);
  std::vector<uint8_t> logo = logo_bytes(true);
  std::vector<uint8_t> noise = noise_bytes();

  reference::ScatteringInputs inputs() {
    logo_image = reference::from_bytes(16, 8, logo);
    noise_image = reference::from_bytes(64, 64, noise);
    return {&distances, &logo_image, &noise_image};
  }
  Image logo_image, noise_image;
};

class ScatteringKernel : public gpu_test::GpuTest {
 protected:
  Image render(const UniformBuffer& u, Scene& scene) {
    if (!device) device = gpu_test::make_device(16, 16);
    kernel_rig::KernelRig rig(*device);
    rig.upload(u);
    gpu::Texture out = rig.target(kWidth, kHeight);
    rig.dispatch("ScatteringKernel",
                 {rig.half_texture(scene.distances), rig.byte_texture(16, 8, scene.logo),
                  rig.byte_texture(64, 64, scene.noise)},
                 out, kWidth / 8, kHeight / 8);
    return rig.read(out);
  }

  // Compares every pixel; returns how many were one lit sample apart.
  int expect_matches(const Image& got, const UniformBuffer& u, Scene& scene) {
    reference::ScatteringInputs in = scene.inputs();
    int off_by_one = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        reference::Vec4 px = got.texel(x, y);
        EXPECT_EQ(px.w, 1.0);
        Vec3 unit = one_sample(u, x, y);
        int want = reference::lit_samples(u, in, x, y);
        if (unit.x == 0) {
          EXPECT_EQ(px.x, 0.0) << x << "," << y;
          continue;
        }
        double count = px.x / unit.x;
        int rounded = int(std::lround(count));
        EXPECT_NEAR(count, rounded, 2e-3 * std::max(rounded, 1)) << x << "," << y;
        EXPECT_NEAR(px.z / unit.z, rounded, 2e-3 * std::max(rounded, 1)) << x << "," << y;
        EXPECT_LE(std::abs(rounded - want), 1) << x << "," << y;
        off_by_one += rounded != want;
      }
    return off_by_one;
  }
};

TEST_F(ScatteringKernel, MatchesTheShadowMarchAndTheLogoPlane) {
  UniformBuffer u = looking_down_the_rows();
  Scene scene;
  Image got = render(u, scene);
  EXPECT_LE(expect_matches(got, u, scene), kWidth * kHeight / 50);

  // The picture holds lit and shadowed samples, some of them behind the logo.
  Scene no_logo;
  no_logo.logo = logo_bytes(false);
  reference::ScatteringInputs with = scene.inputs(), without = no_logo.inputs();
  int lit = 0, logo_shadowed = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      int n = reference::lit_samples(u, with, x, y);
      lit += n;
      logo_shadowed += reference::lit_samples(u, without, x, y) - n;
    }
  EXPECT_GT(lit, kWidth * kHeight / 2);
  EXPECT_LT(lit, kWidth * kHeight * 4);
  EXPECT_GT(logo_shadowed, kWidth * kHeight / 10);
}

TEST_F(ScatteringKernel, TheLogoShadowsOnlySamplesItStandsInFrontOf) {
  // With the scene close to the camera the sun rays of many samples cross
  // the logo plane further away than the scene: those stay lit.
  UniformBuffer u = looking_down_the_rows();
  Scene scene;
  scene.distances = scene_distances(1.6, 0.5);
  Image got = render(u, scene);
  EXPECT_EQ(expect_matches(got, u, scene), 0);
  reference::ScatteringInputs in = scene.inputs();
  int beyond = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) beyond += reference::logo_crossings_beyond_scene(u, in, x, y);
  EXPECT_GT(beyond, kWidth * kHeight / 10) << "too few sun rays cross the logo beyond the scene";
}

TEST_F(ScatteringKernel, ASceneDistanceOfZeroGivesEverySampleOneVisibility) {
  Scene scene;
  scene.distances = scene_distances(0.0);
  scene.logo = logo_bytes(false);
  reference::CubeField field = reference::make_cube_field(1.0 + 0.4, 1.0);
  for (bool in_shadow : {false, true}) {
    UniformBuffer u = looking_down_the_rows();
    // Just in front of a cube of the first family, which hides the sun; or
    // high above the field.
    u.camPos = in_shadow ? float3{-1.0f, 0.3f, float(field.a.tick + 2.0 - 0.9)} : float3{-1.0f, 3.0f, 0.0f};
    ASSERT_EQ(reference::lit_samples(u, scene.inputs(), 0, 0), in_shadow ? 0 : 5);
    Image got = render(u, scene);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        double want = in_shadow ? 0.0 : 5 * one_sample(u, x, y).y;
        ASSERT_NEAR(got.texel(x, y).y, want, 2e-3 * want) << x << "," << y;
      }
  }
}

TEST_F(ScatteringKernel, NoShaftsOnceTheSunIsDown) {
  Scene scene;
  for (float sun_time : {0.0f, -0.4f, 3.3f}) {
    UniformBuffer u = looking_down_the_rows();
    u.sunTime = sun_time;
    Image got = render(u, scene);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        reference::Vec4 px = got.texel(x, y);
        ASSERT_EQ(px.x + px.y + px.z, 0.0) << sun_time << " at " << x << "," << y;
        ASSERT_EQ(px.w, 1.0);
      }
  }
}

TEST_F(ScatteringKernel, CubeRowsRepeatOnlyWithinFourTimesCubesRepeat) {
  // Looking along the rows at x = 5, where the second row's cubes stand
  // only while the repetition reaches past |x| = 4.
  Scene scene;
  scene.logo = logo_bytes(false);
  int lit[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    UniformBuffer u = looking_down_the_rows();
    u.camPos = {5.0f, 0.8f, -1.0f};
    u.camTarget = {0.0f, -0.15f, 1.0f};
    u.cubesRepeat = i == 0 ? 1.0f : 2.0f;
    Image got = render(u, scene);
    EXPECT_LE(expect_matches(got, u, scene), kWidth * kHeight / 50) << "cubesRepeat " << u.cubesRepeat;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) lit[i] += int(std::lround(got.texel(x, y).x / one_sample(u, x, y).x));
  }
  EXPECT_GT(lit[0], lit[1] + kWidth * kHeight / 4) << "the far rows cast no extra shadow";
}

}  // namespace
