#include "tests/scenes/kernel_runner.h"

#include <array>

#include "tests/gpu/gpu_harness.h"

namespace scene_test {

Image flat_image(int width, int height, float r, float g, float b, float a) {
  Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i) image.rgba.insert(image.rgba.end(), {r, g, b, a});
  return image;
}

UniformBuffer plain_block(int width, int height) {
  UniformBuffer u{};
  u.invRes = {1.0f / float(width), 1.0f / float(height)};
  u.camTarget = u.camTargetOld = {0, 0, 1};
  u.camFov = 2.5f;
  u.sunTime = 1.2f;
  u.fadeBlack = 1.0f;
  return u;
}

namespace {

gpu::ShaderResourceView view_of(gpu::Device& device, const Image& image) {
  gpu::Texture t = gpu_test::float_texture(device, image.width, image.height, image.rgba,
                                           gpu::kBindShaderResource);
  return device.create_srv({.texture = t});
}

}  // namespace

std::vector<float> run_kernel(gpu::Device& device, const std::string& program, const UniformBuffer& block,
                              int width, int height, const KernelInputs& in) {
  gpu::Texture target = device.create_texture({.width = width,
                                               .height = height,
                                               .format = gpu::Format::RGBA16F,
                                               .bind = gpu::kBindUnorderedAccess | gpu::kBindShaderResource});
  Image noise = flat_image(64, 64, in.noise.x, in.noise.y, in.noise.z, 1.0f);
  device.cs_set_shader(gpu_test::intro_program(device, program));
  device.cs_set_unordered_access_views(0, std::array{device.create_uav({.texture = target})});
  device.cs_set_shader_resources(0, std::array{view_of(device, in.sky), view_of(device, in.logo),
                                               view_of(device, noise), view_of(device, in.lettering)});
  device.cs_set_samplers(0, std::array{device.create_sampler({.address = gpu::AddressMode::Clamp}),
                                       device.create_sampler({.address = gpu::AddressMode::Border}),
                                       device.create_sampler({.address = gpu::AddressMode::Wrap})});
  device.cs_set_constant_buffers(0, std::array{gpu_test::constant_buffer(device, &block, sizeof block)});
  device.dispatch(width / 16, height / 8, 1);
  device.present(1);
  return device.read_rgba16f(target, 0);
}

}  // namespace scene_test
