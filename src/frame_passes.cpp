#include "src/frame_passes.h"

#include <array>

#include "src/frame_clock.h"
#include "src/gpu_setup.h"
#include "src/pass_schedule.h"

namespace {

using Srvs = std::array<gpu::ShaderResourceView, 5>;
const Srvs kNoSrvs{};
const std::array<gpu::UnorderedAccessView, 3> kNoUavs{};

void set_inv_res(Renderer& r, float w, float h) { r.uniforms.invRes = {1.0f / w, 1.0f / h}; }

float f(int v) { return static_cast<float>(v); }

void sky_pass(Renderer& r) {
  gpu::Device& d = r.device;
  d.cs_set_shader(r.SkyKernel);
  d.cs_set_unordered_access_views(0, std::array{r.skyUav});
  d.dispatch(64, 64, 1);
  d.cs_set_unordered_access_views(0, std::span(kNoUavs).first(1));
  d.cs_set_shader({});
}

void scene_pass(Renderer& r, PlaybackState& playback) {
  gpu::Device& d = r.device;
  upload_uniforms(r);
  d.cs_set_shader(current_row(playback) < kSceneEndRow ? r.SceneKernel : r.FinaleKernel);
  d.cs_set_unordered_access_views(0, std::array{r.renderUav});
  d.cs_set_shader_resources(0, std::array{r.skySrv, r.bannerSrv, r.blueNoiseSrv, r.vlmArmySrv});
  d.dispatch(r.renderWidth / 16, r.renderHeight / 8, 1);
  d.cs_set_shader_resources(0, std::span(kNoSrvs).first(4));
  d.cs_set_unordered_access_views(0, std::span(kNoUavs).first(1));
}

// The step writes this frame's particle state from the other one; the shade
// pass is bound to both but reads only the state the step read, so the
// picture runs one frame behind the simulation.
void particle_passes(Renderer& r) {
  gpu::Device& d = r.device;
  const int now = r.pingPong ? 1 : 0, before = 1 - now;
  upload_uniforms(r);
  d.cs_set_shader(r.LogoParticleStep);
  d.cs_set_unordered_access_views(0, std::array{r.particleStateUav[now]});
  d.cs_set_shader_resources(0, std::array{r.logoSrv, r.particleStateSrv[before]});
  d.dispatch(r.renderWidth / 16, r.renderHeight / 8, 1);
  d.cs_set_shader_resources(0, std::span(kNoSrvs).first(2));
  d.cs_set_unordered_access_views(0, std::span(kNoUavs).first(1));

  upload_uniforms(r);
  d.cs_set_shader(r.LogoParticleShade);
  d.cs_set_unordered_access_views(0, std::array{r.renderUav});
  d.cs_set_shader_resources(0, std::array{r.particleStateSrv[now], r.particleStateSrv[before]});
  d.dispatch(r.renderWidth / 16, r.renderHeight / 8, 1);
  d.cs_set_shader_resources(0, std::span(kNoSrvs).first(2));
  d.cs_set_unordered_access_views(0, std::span(kNoUavs).first(1));
}

void scattering_pass(Renderer& r) {
  gpu::Device& d = r.device;
  d.cs_set_shader(r.ScatteringKernel);
  d.cs_set_unordered_access_views(0, std::array{r.scatteringUav});
  d.cs_set_shader_resources(0, std::array{r.renderSrv, r.bannerSrv, r.blueNoiseSrv});
  d.dispatch(r.renderWidth / 8, r.renderHeight / 8, 1);
  d.cs_set_shader_resources(0, std::span(kNoSrvs).first(3));
  d.cs_set_unordered_access_views(0, std::span(kNoUavs).first(1));
  d.cs_set_shader({});
}

void bloom_draw(Renderer& r, gpu::Shader program, gpu::ShaderResourceView source) {
  gpu::Device& d = r.device;
  d.ps_set_shader_resources(0, std::array{source});
  d.ps_set_shader(program);
  d.draw(3, 0);
  d.ps_set_shader({});
  d.ps_set_shader_resources(0, std::span(kNoSrvs).first(1));
}

void bloom_bright_pass(Renderer& r) {
  gpu::Device& d = r.device;
  d.vs_set_shader(r.FullscreenTriangleVS);
  set_inv_res(r, f(r.screenWidth), f(r.screenHeight));
  upload_uniforms(r);
  const Size bloom = bloom_size({r.screenWidth, r.screenHeight});
  d.rs_set_viewport({0, 0, f(bloom.width), f(bloom.height), 0, 1});
  d.om_set_render_target(r.bloomRtv[0]);
  d.ps_set_shader(r.BloomBrightPass);
  d.ps_set_shader_resources(0, std::array{r.renderSrv});
  d.draw(3, 0);
  d.ps_set_shader_resources(0, std::span(kNoSrvs).first(1));
  d.ps_set_shader({});
}

// Walks down the chain and back up; the float level sizes are halved and
// doubled untruncated, and invRes follows them exactly.
void bloom_chain(Renderer& r) {
  gpu::Device& d = r.device;
  const Size bloom = bloom_size({r.screenWidth, r.screenHeight});
  float w = f(bloom.width), h = f(bloom.height);
  for (int i = 1; i < r.bloomLevels; ++i) {
    w *= 0.5f;
    h *= 0.5f;
    d.om_set_render_target(r.bloomRtv[i]);
    d.rs_set_viewport({0, 0, f(static_cast<int>(w)), f(static_cast<int>(h)), 0, 1});
    set_inv_res(r, w, h);
    upload_uniforms(r);
    bloom_draw(r, r.BloomDownsample, r.bloomSrv[i - 1]);
  }
  w *= 2.0f;
  h *= 2.0f;
  d.om_set_blend_state(r.additiveBlend);
  for (int i = r.bloomLevels - 2; i >= 0; --i) {
    d.om_set_render_target(r.bloomRtv[i]);
    d.rs_set_viewport({0, 0, f(static_cast<int>(w)), f(static_cast<int>(h)), 0, 1});
    set_inv_res(r, w, h);
    upload_uniforms(r);
    bloom_draw(r, r.BloomUpsample, r.bloomSrv[i + 1]);
    w *= 2.0f;
    h *= 2.0f;
  }
  d.om_set_blend_state({});
  d.om_set_render_target({});
}

void composite_pass(Renderer& r) {
  gpu::Device& d = r.device;
  int k = credits_image_index(r.uniforms.creditsId);
  set_inv_res(r, f(r.screenWidth), f(r.screenHeight));
  upload_uniforms(r);
  d.cs_set_shader(r.CompositeKernel);
  d.cs_set_shader_resources(0, Srvs{r.renderSrv, r.scatteringSrv, r.bloomSrv[0], r.dirtSrv, r.creditsSrv[k]});
  d.cs_set_unordered_access_views(0, std::array{r.backBufferUav});
  d.dispatch(r.screenWidth / 16, r.screenHeight / 8, 1);
  d.cs_set_unordered_access_views(0, kNoUavs);
  d.cs_set_shader_resources(0, kNoSrvs);
}

}  // namespace

float run_frame(Renderer& r, PlaybackState& playback) {
  float seconds = fill_frame_uniforms(r, playback);
  if (current_row(playback) < kSceneEndRow) sky_pass(r);
  set_inv_res(r, f(r.renderWidth), f(r.renderHeight));
  if (r.uniforms.glitchCreditFactor < kParticlePathFrom) scene_pass(r, playback);
  else particle_passes(r);
  if (current_row(playback) < kShaftsEndRow) scattering_pass(r);
  bloom_bright_pass(r);
  bloom_chain(r);
  composite_pass(r);
  r.pingPong = !r.pingPong;
  r.device.present(1);
  return seconds;
}
