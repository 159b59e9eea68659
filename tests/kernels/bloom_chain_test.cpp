// The bloom chain's pixel programs against their filters in double
// precision, on the mip levels of one texture as the chain uses them.
//
// Tolerance: 1e-3 relative plus 1e-4 absolute where every tap lands on a
// texel centre or corner (bilinear weights of 0 and 1/2 are exact); where
// the level sizes do not halve exactly the taps fall between texels, and
// the sampler's 8-bit sub-texel weights add up to 1/512 of the neighbours'
// difference (2e-3 here, with values below 2).
#include <algorithm>
#include <cmath>
#include <random>

#include "tests/gpu/gpu_harness.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_reference/reference_bloom.h"

namespace {

using reference::Image;
using reference::Vec2;
using reference::Vec3;

Image random_image(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> value(0.0f, 2.0f);
  Image image(width, height);
  for (float& f : image.rgba) f = value(random);
  return reference::as_half(image);
}

void expect_near(reference::Vec4 got, Vec3 want, double abs_tol, const std::string& where) {
  for (auto [g, w] : {std::pair{got.x, want.x}, std::pair{got.y, want.y}, std::pair{got.z, want.z}})
    ASSERT_NEAR(g, w, abs_tol + 1e-3 * std::fabs(w)) << where;
}

std::string at(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

class BloomChain : public gpu_test::GpuTest {
 protected:
  kernel_rig::KernelRig& rig() {
    if (!device) {
      device = gpu_test::make_device(16, 16);
      rig_ = std::make_unique<kernel_rig::KernelRig>(*device);
    }
    return *rig_;
  }
  void set_inv_res(Vec2 inv_res) {
    UniformBuffer block{};
    block.invRes = {float(inv_res.x), float(inv_res.y)};
    rig().upload(block);
  }
  // Down from level 0 to level 1 of one texture, then back up onto level 0
  // with additive blending, as one step of the chain does; invRes is the
  // float size of the target level, halved without truncation.
  void down_and_up(int w, int h, double tap_tol) {
    kernel_rig::KernelRig& rig = this->rig();
    Image source = random_image(w, h, unsigned(w * 100 + h));
    gpu::Texture bloom = rig.half_texture(source, 2);
    const Vec2 level1{w / 2.0, h / 2.0};
    const int w1 = w / 2, h1 = h / 2;

    set_inv_res({1 / level1.x, 1 / level1.y});
    rig.draw("BloomDownsample", bloom, 0, bloom, 1, {0, 0, float(w1), float(h1), 0, 1}, false);
    Image down = rig.read(bloom, 1);
    for (int y = 0; y < h1; ++y)
      for (int x = 0; x < w1; ++x) {
        expect_near(down.texel(x, y),
                    reference::bloom_filter_pixel(source, {1 / level1.x, 1 / level1.y}, +1, x, y), tap_tol,
                    "down " + at(x, y));
        ASSERT_EQ(down.texel(x, y).w, 1.0);
      }

    set_inv_res({1.0 / w, 1.0 / h});
    rig.draw("BloomUpsample", bloom, 1, bloom, 0, {0, 0, float(w), float(h), 0, 1}, true);
    Image up = rig.read(bloom, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        Vec3 want = rgb(source.texel(x, y)) + reference::bloom_filter_pixel(down, {1.0 / w, 1.0 / h}, -1, x, y);
        expect_near(up.texel(x, y), want, 2 * tap_tol, "up " + at(x, y));
        // The blend adds alpha too: it grows by one with every step up.
        ASSERT_NEAR(up.texel(x, y).w, source.texel(x, y).w + 1.0, 2e-3);
      }
  }

  std::unique_ptr<kernel_rig::KernelRig> rig_;
};

TEST_F(BloomChain, BrightPassKeepsWhatIsBrighterThanLuminance09) {
  // Each 2 x 2 block of the source becomes one pixel of the half-size level.
  const int w = 16, h = 12;
  Image source(w, h);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> grey(0.6, 1.8);
  std::vector<double> block_grey;
  for (int by = 0; by < h / 2; ++by)
    for (int bx = 0; bx < w / 2; ++bx) {
      // The first blocks sit just below 0.9 and at or just above 1.5.
      int i = int(block_grey.size());
      double g = i == 0 ? 0.9 / 0.99 - 1e-3 : i == 1 ? 1.5 / 0.99 + 1e-3 : grey(random);
      block_grey.push_back(g);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) source.set(2 * bx + x, 2 * by + y, {g, 0.9 * g, 1.1 * g, 7.0});
    }
  source = reference::as_half(source);
  gpu::Texture render = rig().half_texture(source), level0 = rig().target(w / 2, h / 2);
  const Vec2 inv_res{1.0 / w, 1.0 / h};
  set_inv_res(inv_res);
  rig().draw("BloomBrightPass", render, 0, level0, 0, {0, 0, w / 2, h / 2, 0, 1}, false);
  Image got = rig().read(level0);

  EXPECT_EQ(got.texel(0, 0).x + got.texel(0, 0).y + got.texel(0, 0).z, 0.0) << "luminance 0.9 passes nothing";
  reference::Vec4 full = got.texel(1, 0), colour = source.texel(2, 0);
  EXPECT_EQ(full.x, colour.x) << "luminance 1.5 passes all";
  EXPECT_EQ(full.z, colour.z);
  int partial = 0;
  for (int y = 0; y < h / 2; ++y)
    for (int x = 0; x < w / 2; ++x) {
      expect_near(got.texel(x, y), reference::bright_pass_pixel(source, inv_res, x, y), 1e-4, at(x, y));
      EXPECT_EQ(got.texel(x, y).w, 1.0);
      double g = block_grey[y * (w / 2) + x];
      partial += g > 0.92 && g < 1.5;
    }
  EXPECT_GT(partial, 10) << "too few blocks on the ramp between 0.9 and 1.5";
}

TEST_F(BloomChain, DownAndUpTakeNineClampedTapsOnExactHalves) { down_and_up(16, 12, 1e-4); }

TEST_F(BloomChain, DownAndUpTakeNineClampedTapsOnOddSizes) {
  // 15 x 9 halves to 7.5 x 4.5 in float; the level holds 7 x 4 texels.
  down_and_up(15, 9, 2e-3);
}

}  // namespace
