#pragma once
// A GPU device that passes every call on to another one, for the benchmark.
// It notes the moment each frame is handed over for presentation: everything
// before it is the CPU filling and recording the frame, everything after it
// the device running it. On request it also runs every dispatch and draw on
// its own and keeps its wall-clock time: lavapipe's timestamps miss most of
// the work of some compute passes (the 8 x 8 kernels), and on a CPU device a
// pass run alone costs what it costs inside the frame.

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"

class MeasuringDevice final : public gpu::Device {
 public:
  explicit MeasuringDevice(std::unique_ptr<gpu::Device> inner) : inner_(std::move(inner)) {}

  // When present() was last entered.
  std::chrono::steady_clock::time_point last_present_call() const { return present_called_; }

  // Runs each later dispatch and draw alone (flushing before and after) and
  // times it, until switched off.
  void isolate_passes(bool on) { isolate_ = on; }
  // The isolated passes of the last presented frame, labelled by program.
  const std::vector<gpu::PassTiming>& isolated_passes() const { return last_isolated_; }

  gpu::Texture create_texture(const gpu::TextureDesc& d) override { return inner_->create_texture(d); }
  gpu::ShaderResourceView create_srv(const gpu::ViewDesc& d) override { return inner_->create_srv(d); }
  gpu::UnorderedAccessView create_uav(const gpu::ViewDesc& d) override { return inner_->create_uav(d); }
  gpu::RenderTargetView create_rtv(const gpu::ViewDesc& d) override { return inner_->create_rtv(d); }
  gpu::Buffer create_buffer(const gpu::BufferDesc& d) override { return inner_->create_buffer(d); }
  gpu::Shader create_shader(const gpu::ShaderDesc& d) override;
  gpu::Sampler create_sampler(const gpu::SamplerDesc& d) override { return inner_->create_sampler(d); }
  gpu::BlendState create_blend_state(const gpu::BlendDesc& d) override { return inner_->create_blend_state(d); }
  gpu::Texture back_buffer() override { return inner_->back_buffer(); }

  gpu::TextureDesc texture_desc(gpu::Texture t) const override { return inner_->texture_desc(t); }
  gpu::ViewDesc view_desc(gpu::ShaderResourceView v) const override { return inner_->view_desc(v); }
  gpu::ViewDesc view_desc(gpu::UnorderedAccessView v) const override { return inner_->view_desc(v); }
  gpu::ViewDesc view_desc(gpu::RenderTargetView v) const override { return inner_->view_desc(v); }

  void cs_set_shader(gpu::Shader s) override {
    compute_shader_ = s;
    inner_->cs_set_shader(s);
  }
  void cs_set_shader_resources(int i, std::span<const gpu::ShaderResourceView> v) override {
    inner_->cs_set_shader_resources(i, v);
  }
  void cs_set_unordered_access_views(int i, std::span<const gpu::UnorderedAccessView> v) override {
    inner_->cs_set_unordered_access_views(i, v);
  }
  void cs_set_constant_buffers(int i, std::span<const gpu::Buffer> v) override {
    inner_->cs_set_constant_buffers(i, v);
  }
  void cs_set_samplers(int i, std::span<const gpu::Sampler> v) override { inner_->cs_set_samplers(i, v); }
  void dispatch(uint32_t x, uint32_t y, uint32_t z) override;

  void vs_set_shader(gpu::Shader s) override { inner_->vs_set_shader(s); }
  void vs_set_samplers(int i, std::span<const gpu::Sampler> v) override { inner_->vs_set_samplers(i, v); }
  void ps_set_shader(gpu::Shader s) override {
    pixel_shader_ = s;
    inner_->ps_set_shader(s);
  }
  void ps_set_shader_resources(int i, std::span<const gpu::ShaderResourceView> v) override {
    inner_->ps_set_shader_resources(i, v);
  }
  void ps_set_constant_buffers(int i, std::span<const gpu::Buffer> v) override {
    inner_->ps_set_constant_buffers(i, v);
  }
  void ps_set_samplers(int i, std::span<const gpu::Sampler> v) override { inner_->ps_set_samplers(i, v); }
  void ia_set_triangle_list() override { inner_->ia_set_triangle_list(); }
  void rs_set_viewport(const gpu::Viewport& v) override { inner_->rs_set_viewport(v); }
  void om_set_render_target(gpu::RenderTargetView v) override { inner_->om_set_render_target(v); }
  void om_set_blend_state(gpu::BlendState b) override { inner_->om_set_blend_state(b); }
  void draw(uint32_t count, uint32_t first) override;

  void update_subresource(gpu::Buffer b, std::span<const uint8_t> data) override {
    inner_->update_subresource(b, data);
  }
  void update_subresource(gpu::Texture t, std::span<const uint8_t> data, uint32_t pitch) override {
    inner_->update_subresource(t, data, pitch);
  }

  void present(int sync_interval) override;
  void flush() override { inner_->flush(); }

  std::vector<uint8_t> read_rgba8(gpu::Texture t) override { return inner_->read_rgba8(t); }
  std::vector<float> read_rgba16f(gpu::Texture t, int mip) override { return inner_->read_rgba16f(t, mip); }
  std::vector<gpu::PassTiming> last_frame_timings() const override { return inner_->last_frame_timings(); }
  std::optional<int> validation_message_count() const override { return inner_->validation_message_count(); }
  std::string first_failure() const override { return inner_->first_failure(); }
  std::string adapter_name() const override { return inner_->adapter_name(); }
  int max_image_side() const override { return inner_->max_image_side(); }

 private:
  template <typename Run>
  void run_pass(gpu::Shader program, Run run);

  std::unique_ptr<gpu::Device> inner_;
  std::chrono::steady_clock::time_point present_called_{};
  std::map<uint32_t, std::string> labels_;  // by shader id
  gpu::Shader compute_shader_, pixel_shader_;
  bool isolate_ = false;
  std::vector<gpu::PassTiming> isolated_, last_isolated_;
};
