#include "tools/kernel_reference/kernel_rig.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "embedded/programs.h"
#include "src/program_catalog.h"

namespace kernel_rig {

KernelRig::KernelRig(gpu::Device& device, std::string program_dir)
    : device_(device), program_dir_(std::move(program_dir)) {
  block_ = device_.create_buffer({.byte_width = sizeof(UniformBuffer), .label = "UniformBuffer"});
  device_.cs_set_constant_buffers(0, std::array{block_});
  device_.ps_set_constant_buffers(0, std::array{block_});
  std::array samplers{device_.create_sampler({gpu::AddressMode::Clamp}),
                      device_.create_sampler({gpu::AddressMode::Border}),
                      device_.create_sampler({gpu::AddressMode::Wrap})};
  device_.cs_set_samplers(0, samplers);
  device_.ps_set_samplers(0, samplers);
  device_.vs_set_samplers(0, samplers);
  device_.ia_set_triangle_list();
  device_.vs_set_shader(program("FullscreenTriangleVS"));
  additive_ = device_.create_blend_state({.additive = true});
}

gpu::Shader KernelRig::program(const std::string& name) {
  auto found = programs_.find(name);
  if (found != programs_.end()) return found->second;
  if (!program_dir_.empty()) {
    std::ifstream in(program_dir_ + "/" + name + VELMORAND_PROGRAM_SUFFIX, std::ios::binary);
    std::vector<uint8_t> code((std::istreambuf_iterator<char>(in)), {});
    if (!code.empty()) {
      loaded_code_.push_back(std::move(code));
      return programs_[name] = device_.create_shader(
                 {.stage = program_stage(name), .code = loaded_code_.back(), .label = name.c_str()});
    }
  }
  for (const embedded::Blob& b : embedded::programs())
    if (name == b.name)
      return programs_[name] = device_.create_shader(
                 {.stage = program_stage(name), .code = {b.data, b.size}, .label = b.name});
  std::fprintf(stderr, "kernel rig: no program named %s\n", name.c_str());
  return {};
}

void KernelRig::upload(const UniformBuffer& block) {
  device_.update_subresource(block_, {reinterpret_cast<const uint8_t*>(&block), sizeof block});
  // Bound again: another rig on the same device may have bound its own.
  device_.cs_set_constant_buffers(0, std::array{block_});
  device_.ps_set_constant_buffers(0, std::array{block_});
}

gpu::Texture KernelRig::half_texture(const reference::Image& image, int mips) {
  gpu::Texture t = target(image.width, image.height, mips);
  std::vector<uint8_t> bytes(image.rgba.size() * 2);
  for (size_t i = 0; i < image.rgba.size(); ++i) {
    uint16_t h = gpu::float_to_half(image.rgba[i]);
    std::memcpy(bytes.data() + 2 * i, &h, 2);
  }
  device_.update_subresource(t, bytes, uint32_t(image.width) * 8);
  return t;
}

gpu::Texture KernelRig::byte_texture(int width, int height, const std::vector<uint8_t>& rgba) {
  gpu::Texture t = device_.create_texture({.width = width,
                                           .height = height,
                                           .format = gpu::Format::RGBA8,
                                           .bind = gpu::kBindShaderResource | gpu::kBindRenderTarget});
  device_.update_subresource(t, rgba, uint32_t(width) * 4);
  return t;
}

gpu::Texture KernelRig::target(int width, int height, int mips) {
  return device_.create_texture(
      {.width = width,
       .height = height,
       .mip_levels = mips,
       .format = gpu::Format::RGBA16F,
       .bind = gpu::kBindShaderResource | gpu::kBindUnorderedAccess | gpu::kBindRenderTarget});
}

void KernelRig::dispatch(const std::string& name, const std::vector<gpu::Texture>& inputs, gpu::Texture output,
                         uint32_t groups_x, uint32_t groups_y) {
  std::vector<gpu::ShaderResourceView> views, unbind(inputs.size());
  for (gpu::Texture t : inputs)
    views.push_back(t ? device_.create_srv({.texture = t}) : gpu::ShaderResourceView{});
  std::array uav{device_.create_uav({.texture = output})}, no_uav{gpu::UnorderedAccessView{}};
  device_.cs_set_shader(program(name));
  device_.cs_set_shader_resources(0, views);
  device_.cs_set_unordered_access_views(0, uav);
  device_.dispatch(groups_x, groups_y, 1);
  device_.cs_set_shader_resources(0, unbind);
  device_.cs_set_unordered_access_views(0, no_uav);
}

void KernelRig::draw(const std::string& name, gpu::Texture source, int source_level, gpu::Texture output,
                     int level, const gpu::Viewport& viewport, bool additive) {
  std::array srv{source ? device_.create_srv({.texture = source, .most_detailed_mip = source_level})
                        : gpu::ShaderResourceView{}};
  std::array none{gpu::ShaderResourceView{}};
  device_.om_set_render_target(device_.create_rtv({.texture = output, .most_detailed_mip = level}));
  device_.rs_set_viewport(viewport);
  device_.om_set_blend_state(additive ? additive_ : gpu::BlendState{});
  device_.ps_set_shader(program(name));
  device_.ps_set_shader_resources(0, srv);
  device_.draw(3, 0);
  device_.ps_set_shader_resources(0, none);
  device_.om_set_blend_state({});
  device_.om_set_render_target({});
}

reference::Image KernelRig::read(gpu::Texture texture, int level) {
  device_.present(1);
  gpu::TextureDesc desc = device_.texture_desc(texture);
  reference::Image out(std::max(1, desc.width >> level), std::max(1, desc.height >> level));
  out.rgba = device_.read_rgba16f(texture, level);
  return out;
}

}  // namespace kernel_rig
