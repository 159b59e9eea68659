// The device layer on the machine's Vulkan device: what the renderer relies on.
#include <array>
#include <cmath>

#include "tests/gpu/gpu_harness.h"

namespace {

using gpu_test::GpuTest;

TEST_F(GpuTest, ClearKernelBlackensWholeGroupsAndLeavesTheRemainder) {
  const int w = 1366, h = 768;
  device = gpu_test::make_device(w, h);
  ASSERT_TRUE(device);
  gpu::Texture back = device->back_buffer();
  std::vector<uint8_t> before(size_t(w) * h * 4, 77);
  device->update_subresource(back, before, w * 4);
  gpu::UnorderedAccessView uav = device->create_uav({.texture = back});
  device->cs_set_shader(gpu_test::intro_program(*device, "ClearKernel"));
  device->cs_set_unordered_access_views(0, std::array{uav});
  device->dispatch(w / 16, h / 8, 1);
  device->present(1);
  std::vector<uint8_t> after = device->read_rgba8(back);
  ASSERT_EQ(after.size(), before.size());
  int cleared = 0, kept = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &after[(size_t(y) * w + x) * 4];
      if (x < 1360) cleared += p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 255;
      else kept += p[0] == 77 && p[3] == 77;
    }
  EXPECT_EQ(cleared, 1360 * h);
  EXPECT_EQ(kept, 6 * h);
}

TEST_F(GpuTest, FullScreenTriangleCoversTheViewportExactlyOnce) {
  device = gpu_test::make_device(64, 64);
  ASSERT_TRUE(device);
  const int w = 37, h = 23;  // odd sizes show a seam or a double-covered diagonal
  gpu::Texture target = device->create_texture({.width = w,
                                                .height = h,
                                                .format = gpu::Format::RGBA16F,
                                                .bind = gpu::kBindRenderTarget | gpu::kBindShaderResource});
  gpu::RenderTargetView rtv = device->create_rtv({.texture = target});
  device->vs_set_shader(gpu_test::intro_program(*device, "FullscreenTriangleVS"));
  device->ps_set_shader(gpu_test::test_program(*device, "ConstantOnePS"));
  device->om_set_blend_state(device->create_blend_state({.additive = true}));
  device->om_set_render_target(rtv);
  device->rs_set_viewport({0, 0, 30, 20, 0, 1});
  device->draw(3, 0);
  device->present(1);
  std::vector<float> px = device->read_rgba16f(target, 0);
  ASSERT_EQ(px.size(), size_t(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float expect = (x < 30 && y < 20) ? 1.0f : 0.0f;  // additive onto the zeroed texture
      ASSERT_EQ(px[(size_t(y) * w + x) * 4], expect) << x << "," << y;
    }
}

struct Block {
  float value[4];
  uint32_t pixel[2];
  uint32_t pad[2];
};

TEST_F(GpuTest, EachDispatchSeesTheBlockUploadedBeforeIt) {
  device = gpu_test::make_device(16, 16);
  ASSERT_TRUE(device);
  gpu::Texture target = device->create_texture({.width = 4,
                                                .height = 1,
                                                .format = gpu::Format::RGBA16F,
                                                .bind = gpu::kBindUnorderedAccess | gpu::kBindShaderResource});
  gpu::Buffer cb = device->create_buffer({.byte_width = sizeof(Block)});
  device->cs_set_shader(gpu_test::test_program(*device, "WriteConstantCS"));
  device->cs_set_unordered_access_views(0, std::array{device->create_uav({.texture = target})});
  device->cs_set_constant_buffers(0, std::array{cb});
  for (uint32_t i = 0; i < 3; ++i) {
    Block b{{float(i + 1), 2.0f * float(i + 1), 0.5f, 1.0f}, {i, 0}, {}};
    device->update_subresource(cb, {reinterpret_cast<const uint8_t*>(&b), sizeof b});
    device->dispatch(1, 1, 1);
  }
  device->present(1);
  std::vector<float> px = device->read_rgba16f(target, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(px[i * 4 + 0], float(i + 1));
    EXPECT_EQ(px[i * 4 + 1], 2.0f * float(i + 1));
  }
  EXPECT_EQ(px[12], 0.0f) << "pixel 3 was never written and starts zeroed";
}

TEST_F(GpuTest, TexturesReportWhatTheyWereCreatedWith) {
  device = gpu_test::make_device(8, 8);
  ASSERT_TRUE(device);
  gpu::Texture t = device->create_texture(
      {.width = 40,
       .height = 30,
       .mip_levels = 6,
       .format = gpu::Format::RGBA16F,
       .bind = gpu::kBindShaderResource | gpu::kBindUnorderedAccess | gpu::kBindRenderTarget,
       .generate_mips = true});
  gpu::TextureDesc d = device->texture_desc(t);
  EXPECT_EQ(d.width, 40);
  EXPECT_EQ(d.height, 30);
  EXPECT_EQ(d.mip_levels, 6);
  EXPECT_EQ(d.format, gpu::Format::RGBA16F);
  EXPECT_TRUE(d.generate_mips);
  gpu::ViewDesc srv = device->view_desc(device->create_srv({.texture = t, .mip_levels = 6}));
  EXPECT_EQ(srv.mip_levels, 6);
  gpu::ViewDesc rtv = device->view_desc(device->create_uav({.texture = t, .most_detailed_mip = 2}));
  EXPECT_EQ(rtv.most_detailed_mip, 2);
  EXPECT_EQ(rtv.mip_levels, 1);
  EXPECT_EQ(device->texture_desc(device->back_buffer()).format, gpu::Format::RGBA8);
}

TEST(HalfFloat, RoundTripsAndRounds) {
  for (float f : {0.0f, 1.0f, -2.5f, 0.333251953125f, 65504.0f, 6.1035156e-05f, 5.9604645e-08f})
    EXPECT_EQ(gpu::half_to_float(gpu::float_to_half(f)), f) << f;
  EXPECT_EQ(gpu::half_to_float(gpu::float_to_half(1.0f + 1.0f / 4096)), 1.0f);  // ties to even
  EXPECT_TRUE(std::isinf(gpu::half_to_float(gpu::float_to_half(70000.0f))));
}

}  // namespace
