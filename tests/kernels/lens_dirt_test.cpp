// LensDirtPS against the speck layers in double precision.
//
// Tolerance: 4e-3 absolute plus 1e-3 relative per channel. A speck's lattice
// position is about 100 in the coarse octaves, where float32 keeps 8e-6,
// and its soft edge is 0.02 wide (a slope of 75 after the cubic ease): a
// few 1e-4 per speck, and the fine octaves, with positions up to 330, weigh
// at most 0.45^4. Half floats add 4.9e-4 of the value.
#include <algorithm>
#include <cmath>

#include "tests/gpu/gpu_harness.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_reference/reference_lens_dirt.h"

namespace {

using reference::Vec3;

bool close(double got, double want) { return std::fabs(got - want) <= 4e-3 + 1e-3 * std::fabs(want); }

class LensDirt : public gpu_test::GpuTest {
 protected:
  // The whole image at a screen size, drawn once as at start-up.
  reference::Image render(int width, int height) {
    device = gpu_test::make_device(16, 16);
    kernel_rig::KernelRig rig(*device);
    UniformBuffer block{};
    block.invRes = {1.0f / width, 1.0f / height};
    rig.upload(block);
    gpu::Texture dirt = rig.target(width, height);
    rig.draw("LensDirtPS", {}, 0, dirt, 0, {0, 0, float(width), float(height), 0, 1}, false);
    return rig.read(dirt);
  }

  void expect_matches(const reference::Image& dirt) {
    for (int y = 0; y < dirt.height; ++y)
      for (int x = 0; x < dirt.width; ++x) {
        Vec3 want = reference::lens_dirt_pixel(x, y, dirt.width, dirt.height);
        reference::Vec4 got = dirt.texel(x, y);
        ASSERT_TRUE(close(got.x, want.x) && close(got.y, want.y) && close(got.z, want.z))
            << x << "," << y << ": got " << got.x << " " << got.y << " " << got.z << ", want " << want.x << " "
            << want.y << " " << want.z;
        ASSERT_EQ(got.w, 1.0);
      }
  }
};

TEST_F(LensDirt, MatchesTheSpeckLayersOnWideTallAndTinyScreens) {
  // On the tiny one the first octave's lattice reaches left of zero along
  // the left edge, where the cells wrap around as 32-bit integers.
  for (auto [w, h] : {std::pair{49, 27}, std::pair{21, 37}, std::pair{11, 11}}) {
    SCOPED_TRACE(w);
    reference::Image dirt = render(w, h);
    expect_matches(dirt);
    // Not a flat image: specks of different brightness, some beyond 1.
    double lo = 1e9, hi = 0;
    for (size_t i = 0; i < dirt.rgba.size(); i += 4) {
      lo = std::min<double>(lo, dirt.rgba[i + 1]);
      hi = std::max<double>(hi, dirt.rgba[i + 1]);
    }
    EXPECT_GT(hi - lo, 0.05);
  }
}

TEST_F(LensDirt, TheScreenCentreIsNotSmeared) {
  // Odd sizes put a pixel centre exactly on the screen's centre; on this
  // wide strip a large speck covers it.
  reference::Image dirt = render(59, 9);
  reference::Vec4 centre = dirt.texel(29, 4);
  EXPECT_EQ(centre.x, centre.y);
  EXPECT_EQ(centre.z, centre.y);
  EXPECT_GT(centre.y, 1.0);
  // Around it the red layer looks further in and the blue one further out.
  int differing = 0;
  for (int x = 20; x < 40; ++x) {
    reference::Vec4 p = dirt.texel(x, 1);
    differing += p.x != p.y || p.z != p.y;
  }
  EXPECT_GE(differing, 5);
}

}  // namespace
