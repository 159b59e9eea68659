#pragma once
// Everything the frame passes draw with, held for the whole run: the GPU
// objects by the names the passes use, the host copy of the constant block,
// and the little state that carries from frame to frame.

#include <array>
#include <string>

#include "platform/gpu/gpu.h"
#include "src/render_sizes.h"
#include "src/uniform_block.h"

struct Renderer {
  Renderer(gpu::Device& device, Size screen);

  gpu::Device& device;

  // Sizes (the screen plays the role of the desktop).
  int screenWidth;
  int screenHeight;
  int renderWidth = 0;
  int renderHeight = 0;
  int bloomLevels = 0;

  // Frame state.
  UniformBuffer uniforms{};  // the host block, uploaded whole
  float prevTime = 0.0f;
  bool pingPong = false;

  // Objects.
  gpu::Texture backBuffer;
  gpu::UnorderedAccessView backBufferUav;
  gpu::Buffer uniformBuffer;
  gpu::Texture skyTex;
  gpu::UnorderedAccessView skyUav;
  gpu::ShaderResourceView skySrv;
  gpu::Texture scatteringTex;
  gpu::UnorderedAccessView scatteringUav;
  gpu::ShaderResourceView scatteringSrv;
  gpu::Texture dirtTex;
  gpu::ShaderResourceView dirtSrv;
  gpu::RenderTargetView dirtRtv;
  std::array<gpu::Texture, 2> particleStateTex;
  std::array<gpu::UnorderedAccessView, 2> particleStateUav;
  std::array<gpu::ShaderResourceView, 2> particleStateSrv;
  gpu::Texture logoTex, bannerTex, vlmArmyTex, blueNoiseTex;
  gpu::ShaderResourceView logoSrv, bannerSrv, vlmArmySrv, blueNoiseSrv;
  std::array<gpu::Texture, 27> creditsTex;
  std::array<gpu::ShaderResourceView, 27> creditsSrv;
  gpu::Texture bloomTex;
  std::array<gpu::ShaderResourceView, kMaxBloomLevels> bloomSrv;
  std::array<gpu::RenderTargetView, kMaxBloomLevels> bloomRtv;
  gpu::Texture renderTex;
  gpu::UnorderedAccessView renderUav;
  gpu::ShaderResourceView renderSrv;

  // Programs.
  gpu::Shader ClearKernel, FullscreenTriangleVS, LensDirtPS, BloomBrightPass, BloomDownsample, BloomUpsample,
      SkyKernel, SceneKernel, ScatteringKernel, FinaleKernel, LogoParticleStep, LogoParticleShade, CompositeKernel;

  // Fixed state.
  std::array<gpu::Sampler, 3> samplers;  // smpClamp, smpBorder, smpRepeat
  gpu::BlendState additiveBlend;
};

// Uploads the host block whole to the constant buffer.
void upload_uniforms(Renderer& r);

// Both particle state textures back to what start-up leaves: zeros, 8 bytes
// a texel. A tool that starts the particles anew (after a seek, or before
// replaying their frames) calls this.
void reset_particle_field(Renderer& r);

// Why the started renderer cannot draw at its screen size: beyond its
// device's limit, or some image the passes draw into could not be made.
// Empty when it can.
std::string size_problem(const Renderer& r);
