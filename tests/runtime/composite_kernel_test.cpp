// The composite kernel against the same formula in C++ (double). With both
// glitch amplitudes at 0 only the film grain is random, and its noise hashes
// large sine values that no CPU reproduces bit for bit; it is bounded instead:
// the grain moves a channel by at most 0.15 |n| c (1 - sqrt(luma)) with
// |n| <= 1.1, which is zero on black and on white pixels.
#include <array>
#include <cmath>

#include "src/uniform_block.h"
#include "tests/gpu/gpu_harness.h"

namespace {

constexpr int W = 40, H = 30;    // the screen the composite covers
constexpr int RW = 20, RH = 15;  // a smaller scene, read through normalised coordinates

struct Inputs {
  double shafts = 0.3, bloom = 0.4, dirt = 0.5;
  std::array<double, 3> credits{1.0, 0.0, 128.0 / 255.0};  // one page per channel
};

// The scene: a gentle linear ramp per channel, so bilinear taps are exact.
double scene(int channel, double x, double y) { return 0.2 + 0.1 * channel + 0.01 * x + 0.02 * y; }

// Bilinear tap at normalised (u, v) of the ramp with clamp-to-edge.
double scene_at(int channel, double u, double v) {
  double x = std::clamp(u * RW - 0.5, 0.0, RW - 1.0);
  double y = std::clamp(v * RH - 0.5, 0.0, RH - 1.0);
  return scene(channel, x, y);
}

struct Expected {
  std::array<double, 3> colour;
  std::array<double, 3> grain_bound;
};

Expected expected(int px, int py, const UniformBuffer& ub, const Inputs& in) {
  double u = px / double(W), v = py / double(H);
  std::array<double, 3> c{};
  const double weights[3] = {1, 2, 1};
  for (int ch = 0; ch < 3; ++ch) {
    double base = 0;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        base += weights[i + 1] * weights[j + 1] * scene_at(ch, u + i / double(RW), v + j / double(RH));
    c[ch] = base / 16 + 0.1 * in.shafts + in.bloom * (in.dirt + 0.3) * ub.bloomFactor;
  }
  double vig = std::min(std::pow(std::max(50 * u * v * (1 - u) * (1 - v), 0.0), 0.25), 1.0);
  double mask = 0;
  if (ub.creditsId >= 0) {
    double r = ub.creditsId - 3 * std::floor(ub.creditsId / 3);
    mask = r == 0 ? in.credits[0] : r == 1 ? in.credits[1] : in.credits[2];
  }
  for (double& x : c) {
    x *= vig;
    x = std::clamp(x * (2.51 * x + 0.03) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
    x += mask * (1 - x);
    x = std::pow(x, 1 / 2.2);
  }
  double luma = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
  Expected e;
  for (int ch = 0; ch < 3; ++ch) {
    e.grain_bound[ch] = 0.15 * 1.1 * c[ch] * (1 - std::sqrt(luma)) * std::fabs(ub.fadeBlack);
    e.colour[ch] = c[ch] * ub.fadeBlack + ub.fadeWhite;
  }
  return e;
}

class CompositeKernelTest : public gpu_test::GpuTest {
 protected:
  std::vector<uint8_t> run(const UniformBuffer& ub, const Inputs& in) {
    device = gpu_test::make_device(W, H);
    gpu::Device& d = *device;
    std::vector<float> rgba(size_t(RW) * RH * 4);
    for (int y = 0; y < RH; ++y)
      for (int x = 0; x < RW; ++x)
        for (int ch = 0; ch < 4; ++ch) rgba[(size_t(y) * RW + x) * 4 + ch] = float(scene(ch, x, y));
    auto flat = [&](int w, int h, double value) {
      return gpu_test::float_texture(d, w, h, std::vector<float>(size_t(w) * h * 4, float(value)),
                                     gpu::kBindShaderResource);
    };
    std::vector<uint8_t> credits(size_t(W) * H * 4);
    for (size_t i = 0; i < credits.size(); i += 4)
      credits[i] = 255, credits[i + 1] = 0, credits[i + 2] = 128, credits[i + 3] = 255;
    std::array<gpu::ShaderResourceView, 5> srvs = {
        d.create_srv({.texture = gpu_test::float_texture(d, RW, RH, rgba, gpu::kBindShaderResource)}),
        d.create_srv({.texture = flat(RW, RH, in.shafts)}),
        d.create_srv({.texture = flat(W / 2, H / 2, in.bloom)}), d.create_srv({.texture = flat(W, H, in.dirt)}),
        d.create_srv({.texture = gpu_test::byte_texture(d, W, H, credits, gpu::kBindShaderResource)})};
    d.cs_set_shader(gpu_test::intro_program(d, "CompositeKernel"));
    d.cs_set_constant_buffers(0, std::array{gpu_test::constant_buffer(d, &ub, sizeof ub)});
    d.cs_set_samplers(0, std::array{d.create_sampler({.address = gpu::AddressMode::Clamp})});
    d.cs_set_shader_resources(0, srvs);
    d.cs_set_unordered_access_views(0, std::array{d.create_uav({.texture = d.back_buffer()})});
    d.dispatch(W / 16, H / 8, 1);
    d.present(1);
    return d.read_rgba8(d.back_buffer());
  }

  static UniformBuffer block() {
    UniformBuffer ub{};
    ub.invRes = {1.0f / W, 1.0f / H};
    ub.fadeBlack = 1.0f;
    ub.bloomFactor = 0.7f;
    ub.creditsId = -1.0f;
    return ub;
  }

  void expect_pixels(const std::vector<uint8_t>& px, const UniformBuffer& ub, const Inputs& in) {
    ASSERT_EQ(px.size(), size_t(W) * H * 4);
    for (auto [x, y] :
         {std::pair{10, 10}, {20, 10}, {30, 20}, {10, 20}, {20, 0}, {0, 20}, {2, 2}, {3, 1}, {1, 5}}) {
      Expected want = expected(x, y, ub, in);
      const uint8_t* got = &px[(size_t(y) * W + x) * 4];
      for (int ch = 0; ch < 3; ++ch)
        EXPECT_NEAR(got[ch] / 255.0, std::clamp(want.colour[ch], 0.0, 1.0), want.grain_bound[ch] + 1.5 / 255)
            << "pixel " << x << "," << y << " channel " << ch;
      EXPECT_EQ(got[3], 255);
    }
  }
};

TEST_F(CompositeKernelTest, ToneMapVignetteShaftsAndBloomWithoutFades) {
  UniformBuffer ub = block();
  Inputs in;
  expect_pixels(run(ub, in), ub, in);
}

TEST_F(CompositeKernelTest, FirstRowAndColumnComeOutOfTheVignetteBlack) {
  UniformBuffer ub = block();
  auto px = run(ub, {});
  for (int x = 0; x < 32; ++x) EXPECT_EQ(px[size_t(x) * 4], 0) << "row 0, column " << x;
  for (int y = 0; y < 24; ++y) EXPECT_EQ(px[size_t(y) * W * 4], 0) << "column 0, row " << y;
}

TEST_F(CompositeKernelTest, FadeToWhiteAndHalfwayFades) {
  UniformBuffer ub = block();
  ub.fadeBlack = 0.0f;
  ub.fadeWhite = 1.0f;
  auto px = run(ub, {});
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x)
      for (int ch = 0; ch < 3; ++ch) ASSERT_EQ(px[(size_t(y) * W + x) * 4 + ch], 255);
  ub.fadeBlack = 0.5f;
  ub.fadeWhite = 0.25f;
  Inputs in;
  expect_pixels(run(ub, in), ub, in);
}

TEST_F(CompositeKernelTest, CreditsPageChannelFollowsCreditsId) {
  for (float id : {0.0f, 1.0f, 2.0f, 2.5f, -1.0f, 4.0f}) {
    UniformBuffer ub = block();
    ub.creditsId = id;
    Inputs in;
    SCOPED_TRACE(id);
    expect_pixels(run(ub, in), ub, in);
  }
}

}  // namespace
