// LogoParticleStep and LogoParticleShade against the seeding, the gather
// step and the shading in double precision.
//
// Tolerance: 1e-3 relative plus 1e-4 absolute (the RGBA16F state's 4.9e-4
// and float32 sums of 225 terms). The seeded offsets are simplex noise whose
// gradients are fract(sin(..) * 2^21): float32 and double give unrelated
// gradients there, so the offsets are checked for what the formula fixes
// (zero at the centre, bounded by 30 r^2 times the noise's range, growing
// towards the corners) rather than value by value. The seeded mass comes
// from a bilinear tap of an RGBA8 image, which the device may round to 8
// bits: the mass 0.627 a^3 (r + g + b) moves by up to 0.627 (3 a^2 (r + g +
// b) + 3 a^3) / 255 for that.
#include <algorithm>
#include <cmath>
#include <random>

#include "tests/gpu/gpu_harness.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_reference/reference_particles.h"

namespace {

using reference::Image;
using reference::Vec2;
using reference::Vec4;

constexpr int kWidth = 32, kHeight = 16;
constexpr Vec2 kInvRes{1.0 / kWidth, 1.0 / kHeight};
// The noise stays within about [-1, 1]; a little room for float32.
constexpr double kNoiseRange = 1.25;

double tolerance(double want) { return 1e-4 + 1e-3 * std::fabs(want); }

double seed_mass_tolerance(const Image& logo, int x, int y) {
  Vec4 c = reference::sample_bilinear(logo, {2 * x * kInvRes.x - 0.5, 2 * y * kInvRes.y - 0.5},
                                      reference::Address::Clamp);
  double a = c.w, sum = c.x + c.y + c.z;
  return tolerance(0.627 * a * a * a * sum) + 0.627 * (3 * a * a * sum + 3 * a * a * a) / 255;
}

// An 8 x 4 logo: transparent border and a transparent hole, coloured inside.
std::vector<uint8_t> logo_bytes() {
  std::vector<uint8_t> bytes(8 * 4 * 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      uint8_t* p = &bytes[(y * 8 + x) * 4];
      bool opaque = x > 0 && x < 7 && y > 0 && y < 3 && x != 4;
      p[0] = uint8_t(40 * x), p[1] = uint8_t(255 - 30 * x), p[2] = uint8_t(90 * y);
      p[3] = opaque ? uint8_t(255 - 20 * x) : 0;
    }
  return bytes;
}

// Offsets everywhere, mass only in a small blob and at one corner.
Image sparse_state() {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> offset(-1.5, 1.5);
  Image state(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      bool blob = std::abs(x - 9) <= 1 && std::abs(y - 8) <= 1;
      double mass = blob ? 0.3 + 0.1 * (x - 8) : (x == 0 && y == 0) ? 0.8 : 0.0;
      state.set(x, y, {offset(random), offset(random), mass, mass});
    }
  return reference::as_half(state);
}

class LogoParticles : public gpu_test::GpuTest {
 protected:
  Image step(const Image& previous, float glitch_credit_factor) {
    device = gpu_test::make_device(16, 16);
    kernel_rig::KernelRig rig(*device);
    UniformBuffer block{};
    block.invRes = {float(kInvRes.x), float(kInvRes.y)};
    block.glitchCreditFactor = glitch_credit_factor;
    rig.upload(block);
    gpu::Texture next = rig.target(kWidth, kHeight);
    rig.dispatch("LogoParticleStep", {rig.byte_texture(8, 4, logo_bytes()), rig.half_texture(previous)}, next,
                 kWidth / 16, kHeight / 8);
    return rig.read(next);
  }
};

TEST_F(LogoParticles, SeedingTakesMassFromTheImageAndOffsetsFromTheCentre) {
  Image got = step(sparse_state(), 100.0f);  // the previous state must not matter
  Image logo = reference::from_bytes(8, 4, logo_bytes());
  int massless = 0, far_flung = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Vec4 px = got.texel(x, y), want = reference::seed_texel(logo, kInvRes, x, y);
      ASSERT_NEAR(px.z, want.z, seed_mass_tolerance(logo, x, y)) << x << "," << y;
      ASSERT_EQ(px.w, 0.0);
      if (want.z == 0) {
        ASSERT_EQ(px.z, 0.0) << "alpha 0 must give mass 0 at " << x << "," << y;
        ++massless;
      }
      Vec2 uv{x * kInvRes.x, y * kInvRes.y};
      double r2 = (2 * uv.x - 1) * (2 * uv.x - 1) + (2 * uv.y - 1) * (2 * uv.y - 1);
      ASSERT_LE(std::fabs(px.x), 30 * std::cos(uv.y) * r2 * kNoiseRange + 1e-3) << x << "," << y;
      ASSERT_LE(std::fabs(px.y), 30 * r2 * kNoiseRange + 1e-3) << x << "," << y;
      far_flung += std::hypot(px.x, px.y) > 4.0;
    }
  EXPECT_GT(massless, kWidth * kHeight / 2) << "the image fills only the centre quarter";
  EXPECT_LT(std::fabs(got.texel(kWidth / 2, kHeight / 2).x), 1e-3);
  EXPECT_LT(std::fabs(got.texel(kWidth / 2, kHeight / 2).y), 1e-3);
  EXPECT_GT(far_flung, 10) << "offsets should reach several pixels towards the corners";
}

TEST_F(LogoParticles, OneStepGathersTheNeighbourhood) {
  Image previous = sparse_state();
  Image got = step(previous, 100.5f);  // from 100.5 on the field moves
  int empty = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Vec4 px = got.texel(x, y), want = reference::step_texel(previous, x, y);
      ASSERT_NEAR(px.x, want.x, tolerance(want.x)) << x << "," << y;
      ASSERT_NEAR(px.y, want.y, tolerance(want.y)) << x << "," << y;
      ASSERT_NEAR(px.z, want.z, tolerance(want.z)) << x << "," << y;
      ASSERT_EQ(px.w, px.z);
      if (x > 17) {
        // No mass within reach: the offset stays 0 despite the old offsets.
        ASSERT_EQ(px.x, 0.0) << x << "," << y;
        ASSERT_EQ(px.y, 0.0) << x << "," << y;
        ASSERT_EQ(px.z, 0.0) << x << "," << y;
        ++empty;
      }
    }
  EXPECT_GT(empty, 100);
}

TEST_F(LogoParticles, ShadingColoursTheDensityAlongTheDiagonal) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> density(0.0, 1.5);
  Image state(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) state.set(x, y, {9.0, -9.0, density(random), 3.0});
  state = reference::as_half(state);

  device = gpu_test::make_device(16, 16);
  kernel_rig::KernelRig rig(*device);
  UniformBuffer block{};
  block.invRes = {float(kInvRes.x), float(kInvRes.y)};
  rig.upload(block);
  gpu::Texture render = rig.target(kWidth, kHeight);
  // t0 holds the state the step just wrote; the shade reads t1.
  rig.dispatch("LogoParticleShade", {rig.half_texture(Image(kWidth, kHeight)), rig.half_texture(state)}, render,
               kWidth / 16, kHeight / 8);
  Image got = rig.read(render);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Vec4 px = got.texel(x, y), want = reference::shade_pixel(state, kInvRes, x, y);
      for (auto [g, w] :
           {std::pair{px.x, want.x}, std::pair{px.y, want.y}, std::pair{px.z, want.z}, std::pair{px.w, want.w}})
        ASSERT_NEAR(g, w, tolerance(w)) << x << "," << y;
    }
}

}  // namespace
