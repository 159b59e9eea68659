#include "src/gpu_setup.h"

#include <array>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "src/elapsed_time.h"
#include "src/image_upload.h"
#include "src/program_catalog.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kSrUav = gpu::kBindShaderResource | gpu::kBindUnorderedAccess;
constexpr uint32_t kSrUavRt = kSrUav | gpu::kBindRenderTarget;
constexpr uint32_t kSrRt = gpu::kBindShaderResource | gpu::kBindRenderTarget;

gpu::Texture texture(Renderer& r, int w, int h, int mips, uint32_t bind, const char* label) {
  return r.device.create_texture({.width = w,
                                  .height = h,
                                  .mip_levels = mips,
                                  .format = gpu::Format::RGBA16F,
                                  .bind = bind,
                                  .generate_mips = mips > 1,
                                  .label = label});
}

// A storage texture with a UAV on level 0 and an SRV over all its levels.
void storage_texture(Renderer& r, int w, int h, int mips, const char* label, gpu::Texture& tex,
                     gpu::UnorderedAccessView& uav, gpu::ShaderResourceView& srv) {
  mips = mip_levels_within({w, h}, mips);
  tex = texture(r, w, h, mips, mips > 1 ? kSrUavRt : kSrUav, label);
  uav = r.device.create_uav({.texture = tex});
  srv = r.device.create_srv({.texture = tex, .mip_levels = mips});
}

// Decoding the 31 images is the slow part of the set-up; it runs on worker
// threads while the GPU objects are still created in their fixed order.
std::vector<std::future<DecodedImage>> decode_images_in_background() {
  std::vector<std::future<DecodedImage>> decoded;
  for (const NamedAsset& image : images_in_load_order())
    decoded.push_back(std::async(std::launch::async, decode_image, image.bytes, image.name));
  return decoded;
}

void load_images(Renderer& r, std::vector<std::future<DecodedImage>>& decoded, SetupTimings& t) {
  auto order = images_in_load_order();
  std::vector<DecodedImage> images;
  auto start = Clock::now();
  for (auto& f : decoded) images.push_back(f.get());
  t.image_decode_ms += ms_since(start);
  start = Clock::now();
  auto make = [&](size_t i, int mips, gpu::Texture& tex) {
    tex = create_image_texture(r.device, images[i], mips, order[i].name.data());
  };
  make(0, 1, r.logoTex);
  r.logoSrv = create_image_srv(r.device, r.logoTex, 1);
  make(1, 1, r.bannerTex);
  r.bannerSrv = create_image_srv(r.device, r.bannerTex, 1);
  make(2, 1, r.vlmArmyTex);
  r.vlmArmySrv = create_image_srv(r.device, r.vlmArmyTex, 1);
  for (size_t i = 0; i < r.creditsTex.size(); ++i) make(3 + i, 1, r.creditsTex[i]);
  for (size_t i = 0; i < r.creditsTex.size(); ++i)
    r.creditsSrv[i] = create_image_srv(r.device, r.creditsTex[i], 1);
  make(30, 4, r.blueNoiseTex);
  r.blueNoiseSrv = create_image_srv(r.device, r.blueNoiseTex, 4);
  t.uploads_ms += ms_since(start);
}

void create_bloom_chain(Renderer& r) {
  const Size size = bloom_size({r.screenWidth, r.screenHeight});
  r.bloomTex = r.device.create_texture({.width = size.width,
                                        .height = size.height,
                                        .mip_levels = r.bloomLevels,
                                        .format = gpu::Format::RGBA16F,
                                        .bind = kSrRt,
                                        .generate_mips = r.bloomLevels > 1,
                                        .label = "bloomTex"});
  for (int i = 0; i < r.bloomLevels; ++i) {
    r.bloomSrv[i] = r.device.create_srv({.texture = r.bloomTex, .most_detailed_mip = i, .mip_levels = 1});
    r.bloomRtv[i] = r.device.create_rtv({.texture = r.bloomTex, .most_detailed_mip = i});
  }
}

void create_programs(Renderer& r) {
  gpu::Device& d = r.device;
  r.FullscreenTriangleVS = create_program(d, "FullscreenTriangleVS");
  r.LensDirtPS = create_program(d, "LensDirtPS");
  r.BloomBrightPass = create_program(d, "BloomBrightPass");
  r.BloomDownsample = create_program(d, "BloomDownsample");
  r.BloomUpsample = create_program(d, "BloomUpsample");
  r.SkyKernel = create_program(d, "SkyKernel");
  r.SceneKernel = create_program(d, "SceneKernel");
  r.ScatteringKernel = create_program(d, "ScatteringKernel");
  r.FinaleKernel = create_program(d, "FinaleKernel");
  r.LogoParticleStep = create_program(d, "LogoParticleStep");
  r.LogoParticleShade = create_program(d, "LogoParticleShade");
  r.CompositeKernel = create_program(d, "CompositeKernel");
}

void create_fixed_state(Renderer& r) {
  r.samplers = {r.device.create_sampler({.address = gpu::AddressMode::Clamp}),
                r.device.create_sampler({.address = gpu::AddressMode::Border}),
                r.device.create_sampler({.address = gpu::AddressMode::Wrap})};
  r.device.vs_set_samplers(0, r.samplers);
  r.device.ps_set_samplers(0, r.samplers);
  r.device.cs_set_samplers(0, r.samplers);
  r.additiveBlend = r.device.create_blend_state({.additive = true});
  r.device.ia_set_triangle_list();
}

// The lens dirt is far too expensive to draw per frame; it is drawn once here
// and read by every composite.
void draw_lens_dirt(Renderer& r) {
  r.uniforms.invRes = {1.0f / static_cast<float>(r.screenWidth), 1.0f / static_cast<float>(r.screenHeight)};
  r.uniforms.frame = 0;
  upload_uniforms(r);
  r.device.rs_set_viewport({0, 0, static_cast<float>(r.screenWidth), static_cast<float>(r.screenHeight), 0, 1});
  r.device.om_set_render_target(r.dirtRtv);
  r.device.vs_set_shader(r.FullscreenTriangleVS);
  r.device.ps_set_shader(r.LensDirtPS);
  r.device.draw(3, 0);
  r.device.ps_set_shader({});
}

}  // namespace

std::string present_startup_clear(Renderer& r) {
  r.backBuffer = r.device.back_buffer();
  r.backBufferUav = r.device.create_uav({.texture = r.backBuffer});
  r.ClearKernel = create_program(r.device, "ClearKernel");
  if (std::string failure = r.device.first_failure(); !failure.empty()) return failure;
  r.device.cs_set_shader(r.ClearKernel);
  r.device.cs_set_unordered_access_views(0, std::array{r.backBufferUav});
  r.device.dispatch(r.screenWidth / 16, r.screenHeight / 8, 1);
  r.device.cs_set_shader_resources(0, std::array<gpu::ShaderResourceView, 5>{});
  r.device.present(1);
  return {};
}

std::string create_gpu_resources(Renderer& r, SetupTimings* timings) {
  SetupTimings local;
  SetupTimings& t = timings ? *timings : local;
  auto decoded = decode_images_in_background();

  Size render = render_size({r.screenWidth, r.screenHeight});
  r.renderWidth = render.width;
  r.renderHeight = render.height;
  r.bloomLevels = bloom_level_count({r.screenWidth, r.screenHeight});

  r.uniformBuffer = r.device.create_buffer({.byte_width = sizeof(UniformBuffer), .label = "UniformBuffer"});
  r.device.cs_set_constant_buffers(0, std::array{r.uniformBuffer});
  r.device.ps_set_constant_buffers(0, std::array{r.uniformBuffer});

  storage_texture(r, 512, 512, 6, "skyTex", r.skyTex, r.skyUav, r.skySrv);
  storage_texture(r, r.renderWidth, r.renderHeight, 1, "scatteringTex", r.scatteringTex, r.scatteringUav,
                  r.scatteringSrv);
  r.dirtTex = texture(r, r.screenWidth, r.screenHeight, 1, kSrRt, "dirtTex");
  r.dirtSrv = r.device.create_srv({.texture = r.dirtTex});
  r.dirtRtv = r.device.create_rtv({.texture = r.dirtTex});
  for (int i = 0; i < 2; ++i)
    storage_texture(r, r.renderWidth, r.renderHeight, 6, i ? "particleStateTex1" : "particleStateTex0",
                    r.particleStateTex[i], r.particleStateUav[i], r.particleStateSrv[i]);
  load_images(r, decoded, t);
  create_bloom_chain(r);
  storage_texture(r, r.renderWidth, r.renderHeight, 6, "renderTex", r.renderTex, r.renderUav, r.renderSrv);

  auto start = Clock::now();
  create_programs(r);
  t.programs_ms += ms_since(start);
  create_fixed_state(r);
  if (std::string failure = r.device.first_failure(); !failure.empty()) return failure;

  start = Clock::now();
  draw_lens_dirt(r);
  r.device.flush();  // ends the set-up's work so the timings mean something
  t.lens_dirt_ms += ms_since(start);
  return {};
}
