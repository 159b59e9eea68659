// SkyKernel against the same scattering integral in double precision.
//
// Tolerance: 2e-3 relative plus 1e-6 absolute. The kernel measures heights
// as |p| - 6,360,000 in float32, where |p| carries about half a metre of
// rounding; over 64 x 12 density samples with scale heights of 1200 and
// 7994 m that stays near 1e-3 of the colour, and the RGBA16F texel adds
// 4.9e-4. The absolute part covers values that fall into half floats'
// subnormal range.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/gpu/gpu_harness.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_reference/reference_scene.h"
#include "tools/kernel_reference/reference_sky.h"

namespace {

using reference::Vec3;

constexpr double kPi = 3.14159265358979323846;

double channel_error(double got, double want) { return std::fabs(got - want) / (2e-3 * std::fabs(want) + 1e-6); }

// How many tolerances apart the texel is from the colour (1 = at the edge).
double error(reference::Vec4 got, Vec3 want) {
  return std::max({channel_error(got.x, want.x), channel_error(got.y, want.y), channel_error(got.z, want.z)});
}

// Column of the panorama that looks towards the sun's azimuth.
int sun_column(double sun_time) {
  Vec3 s = reference::sky_sun(sun_time);
  return int(std::lround(256 * (std::atan2(s.z, s.x) / kPi + 1))) % 512;
}

class SkyKernel : public gpu_test::GpuTest {
 protected:
  // The panorama's rows [0, rows) for one sun angle.
  reference::Image render(float sun_time, int rows = 512) {
    if (!device) device = gpu_test::make_device(16, 16);
    kernel_rig::KernelRig rig(*device);
    UniformBuffer block{};
    block.sunTime = sun_time;
    rig.upload(block);
    gpu::Texture sky = rig.target(512, rows);
    rig.dispatch("SkyKernel", {}, sky, 64, rows / 8);
    return rig.read(sky);
  }

  void expect_rows_match(const reference::Image& sky, float sun_time, const std::vector<int>& rows) {
    std::vector<int> columns{0, 1, 510, 511};
    for (int x = 5; x < 512; x += 23) columns.push_back(x);
    int sun = sun_column(sun_time);
    for (int dx = -3; dx <= 3; ++dx) columns.push_back((sun + dx + 512) % 512);
    for (int y : rows)
      for (int x : columns) {
        Vec3 want = reference::sky_colour(reference::sky_direction(x, y), reference::sky_sun(sun_time));
        reference::Vec4 got = sky.texel(x, y);
        ASSERT_LE(error(got, want), 1.0)
            << "sunTime " << sun_time << " texel " << x << "," << y << ": got " << got.x << " " << got.y << " "
            << got.z << ", want " << want.x << " " << want.y << " " << want.z;
        ASSERT_EQ(got.w, 1.0);
      }
  }
};

TEST_F(SkyKernel, MatchesTheScatteringIntegralFromDawnToNight) {
  // Low sun, the sun 22 degrees up, the sun just below the horizon, and a
  // night sky held at the clamp.
  std::vector<int> rows{0, 128, 240, 256, 257, 260, 266, 280, 300, 340, 400, 470, 511};
  for (float sun_time : {0.15f, 1.5707964f, -0.2f, 3.6f}) {
    SCOPED_TRACE(sun_time);
    expect_rows_match(render(sun_time), sun_time, rows);
  }
}

TEST_F(SkyKernel, BelowTheHorizonTheMarchEndsOnTheGround) {
  // Rows up to 253 meet the ground; 254 and 255 look down but pass over the
  // curve of the planet and run through the whole atmosphere.
  const float sun_time = 0.5f;
  reference::Image sky = render(sun_time, 264);
  expect_rows_match(sky, sun_time, {0, 1, 64, 200, 250, 252, 253, 254, 255});
  // Straight down the ground is 800 m away: a short march, far dimmer than
  // the long glancing rays just above it.
  EXPECT_LT(sky.texel(100, 0).z * 20, sky.texel(100, 255).z);
}

TEST_F(SkyKernel, TheSunIsHeldAtHeightMinusOneTenth) {
  // sin(-0.7) puts the normalised sun at height -0.24; the kernel holds it
  // at -0.1 and does not renormalise.
  const float sun_time = -0.7f;
  ASSERT_LT(reference::sun_direction(sun_time).y, -0.2);
  reference::Image sky = render(sun_time, 296);
  expect_rows_match(sky, sun_time, {256, 260, 270, 290});
  int x = sun_column(sun_time);
  Vec3 unclamped = reference::sky_colour(reference::sky_direction(x, 260), reference::sun_direction(sun_time));
  EXPECT_GT(error(sky.texel(x, 260), unclamped), 10.0) << "the clamp makes no difference here";
}

TEST_F(SkyKernel, ColumnsZeroAnd511MeetWithoutASeam) {
  reference::Image sky = render(0.3f);
  for (int y = 0; y < 512; y += 3) {
    auto step = [&](int a, int b) {
      reference::Vec4 p = sky.texel(a, y), q = sky.texel(b, y);
      return std::max({std::fabs(p.x - q.x), std::fabs(p.y - q.y), std::fabs(p.z - q.z)});
    };
    double inner = std::max(step(510, 511), step(0, 1));
    EXPECT_LE(step(511, 0), 2 * inner + 4e-3 * std::fabs(sky.texel(0, y).x) + 1e-6) << "row " << y;
  }
}

}  // namespace
