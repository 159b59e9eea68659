#pragma once
// A GPU device that runs nothing and writes down every call the runtime makes,
// with the constant block as it was at each upload. Lets the tests compare
// the runtime's call sequence with the one the intro is meant to make.

#include <cstring>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "src/uniform_block.h"

struct RecordedCall {
  std::string what;       // "dispatch 64 64 1", "cs_set_shader SkyKernel", ...
  UniformBuffer block{};  // for "upload": the block uploaded
};

class RecordingDevice final : public gpu::Device {
 public:
  std::vector<RecordedCall> calls;
  // A program or texture of this name is refused at creation.
  std::string refuse;

  // Only the calls whose text starts with one of the prefixes.
  std::vector<std::string> filtered(std::initializer_list<const char*> prefixes) const;
  std::vector<UniformBuffer> uploads() const;
  void clear() { calls.clear(); }

  gpu::Texture create_texture(const gpu::TextureDesc& d) override;
  gpu::ShaderResourceView create_srv(const gpu::ViewDesc& d) override;
  gpu::UnorderedAccessView create_uav(const gpu::ViewDesc& d) override;
  gpu::RenderTargetView create_rtv(const gpu::ViewDesc& d) override;
  gpu::Buffer create_buffer(const gpu::BufferDesc&) override;
  gpu::Shader create_shader(const gpu::ShaderDesc& d) override;
  gpu::Sampler create_sampler(const gpu::SamplerDesc& d) override;
  gpu::BlendState create_blend_state(const gpu::BlendDesc&) override;
  gpu::Texture back_buffer() override;

  gpu::TextureDesc texture_desc(gpu::Texture t) const override;
  gpu::ViewDesc view_desc(gpu::ShaderResourceView v) const override { return srvs_.at(v.id); }
  gpu::ViewDesc view_desc(gpu::UnorderedAccessView v) const override { return uavs_.at(v.id); }
  gpu::ViewDesc view_desc(gpu::RenderTargetView v) const override { return rtvs_.at(v.id); }

  void cs_set_shader(gpu::Shader s) override { log("cs_set_shader " + shader_name(s)); }
  void cs_set_shader_resources(int start, std::span<const gpu::ShaderResourceView> v) override;
  void cs_set_unordered_access_views(int start, std::span<const gpu::UnorderedAccessView> v) override;
  void cs_set_constant_buffers(int start, std::span<const gpu::Buffer> v) override;
  void cs_set_samplers(int start, std::span<const gpu::Sampler> v) override;
  void dispatch(uint32_t x, uint32_t y, uint32_t z) override;
  void vs_set_shader(gpu::Shader s) override { log("vs_set_shader " + shader_name(s)); }
  void vs_set_samplers(int start, std::span<const gpu::Sampler> v) override;
  void ps_set_shader(gpu::Shader s) override { log("ps_set_shader " + shader_name(s)); }
  void ps_set_shader_resources(int start, std::span<const gpu::ShaderResourceView> v) override;
  void ps_set_constant_buffers(int start, std::span<const gpu::Buffer> v) override;
  void ps_set_samplers(int start, std::span<const gpu::Sampler> v) override;
  void ia_set_triangle_list() override { log("ia_set_triangle_list"); }
  void rs_set_viewport(const gpu::Viewport& v) override;
  void om_set_render_target(gpu::RenderTargetView v) override;
  void om_set_blend_state(gpu::BlendState b) override {
    log(b ? "om_set_blend_state additive" : "om_set_blend_state null");
  }
  void draw(uint32_t count, uint32_t first) override;
  void update_subresource(gpu::Buffer, std::span<const uint8_t> data) override;
  void update_subresource(gpu::Texture t, std::span<const uint8_t>, uint32_t pitch) override;
  void present(int sync) override { log("present " + std::to_string(sync)); }
  void flush() override { log("flush"); }
  std::vector<uint8_t> read_rgba8(gpu::Texture) override { return {}; }
  std::vector<float> read_rgba16f(gpu::Texture, int) override { return {}; }
  std::vector<gpu::PassTiming> last_frame_timings() const override { return {}; }
  std::optional<int> validation_message_count() const override { return std::nullopt; }
  std::string first_failure() const override { return failure_; }
  std::string adapter_name() const override { return "recording"; }
  int max_image_side() const override { return 16384; }

  std::string view_name(const gpu::ViewDesc& v) const;

 private:
  void log(std::string s) { calls.push_back({std::move(s), {}}); }
  std::string shader_name(gpu::Shader s) const { return s ? shaders_.at(s.id) : "null"; }

  std::vector<gpu::TextureDesc> textures_{{}};
  std::vector<std::string> texture_labels_{"null"};
  std::vector<gpu::ViewDesc> srvs_{{}}, uavs_{{}}, rtvs_{{}};
  std::vector<std::string> shaders_{"null"};
  int samplers_ = 0, blends_ = 0, buffers_ = 0;
  std::string failure_;
  gpu::Texture back_buffer_{};
};
