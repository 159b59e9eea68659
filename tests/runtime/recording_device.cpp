#include "tests/runtime/recording_device.h"

#include <sstream>

namespace {

std::string num(float f) {
  std::ostringstream s;
  s << f;
  return s.str();
}

}  // namespace

std::vector<std::string> RecordingDevice::filtered(std::initializer_list<const char*> prefixes) const {
  std::vector<std::string> out;
  for (const auto& c : calls)
    for (const char* p : prefixes)
      if (c.what.rfind(p, 0) == 0) {
        out.push_back(c.what);
        break;
      }
  return out;
}

std::vector<UniformBuffer> RecordingDevice::uploads() const {
  std::vector<UniformBuffer> out;
  for (const auto& c : calls)
    if (c.what == "upload") out.push_back(c.block);
  return out;
}

gpu::Texture RecordingDevice::create_texture(const gpu::TextureDesc& d) {
  if (d.label && refuse == d.label) {
    if (failure_.empty()) failure_ = "cannot create texture " + refuse;
    return {};
  }
  gpu::TextureDesc copy = d;
  if (copy.mip_levels == 0) copy.mip_levels = 1;
  textures_.push_back(copy);
  texture_labels_.push_back(d.label ? d.label : "texture");
  log("create_texture " + texture_labels_.back());
  return {static_cast<uint32_t>(textures_.size() - 1)};
}

gpu::TextureDesc RecordingDevice::texture_desc(gpu::Texture t) const { return textures_.at(t.id); }

gpu::Texture RecordingDevice::back_buffer() {
  if (!back_buffer_) back_buffer_ = create_texture({.format = gpu::Format::RGBA8, .label = "backBuffer"});
  return back_buffer_;
}

std::string RecordingDevice::view_name(const gpu::ViewDesc& v) const {
  return texture_labels_.at(v.texture.id) + "@" + std::to_string(v.most_detailed_mip);
}

namespace {
gpu::ViewDesc normalised(gpu::ViewDesc d) {
  if (d.mip_levels == 0) d.mip_levels = 1;
  return d;
}
}  // namespace

gpu::ShaderResourceView RecordingDevice::create_srv(const gpu::ViewDesc& d) {
  srvs_.push_back(normalised(d));
  return {static_cast<uint32_t>(srvs_.size() - 1)};
}
gpu::UnorderedAccessView RecordingDevice::create_uav(const gpu::ViewDesc& d) {
  uavs_.push_back(normalised(d));
  return {static_cast<uint32_t>(uavs_.size() - 1)};
}
gpu::RenderTargetView RecordingDevice::create_rtv(const gpu::ViewDesc& d) {
  rtvs_.push_back(normalised(d));
  return {static_cast<uint32_t>(rtvs_.size() - 1)};
}
gpu::Buffer RecordingDevice::create_buffer(const gpu::BufferDesc&) {
  log("create_buffer");
  return {static_cast<uint32_t>(++buffers_)};
}
gpu::Shader RecordingDevice::create_shader(const gpu::ShaderDesc& d) {
  if (d.label && refuse == d.label) {
    if (failure_.empty()) failure_ = "cannot create program " + refuse;
    return {};
  }
  shaders_.push_back(d.label ? d.label : "program");
  log("create_shader " + shaders_.back());
  return {static_cast<uint32_t>(shaders_.size() - 1)};
}
gpu::Sampler RecordingDevice::create_sampler(const gpu::SamplerDesc& d) {
  log("create_sampler " + std::to_string(static_cast<int>(d.address)));
  return {static_cast<uint32_t>(++samplers_)};
}
gpu::BlendState RecordingDevice::create_blend_state(const gpu::BlendDesc&) {
  log("create_blend_state");
  return {static_cast<uint32_t>(++blends_)};
}

void RecordingDevice::cs_set_shader_resources(int start, std::span<const gpu::ShaderResourceView> v) {
  std::string s = "cs_srv " + std::to_string(start);
  for (auto h : v) s += " " + (h ? view_name(srvs_.at(h.id)) : std::string("null"));
  log(s);
}
void RecordingDevice::cs_set_unordered_access_views(int start, std::span<const gpu::UnorderedAccessView> v) {
  std::string s = "cs_uav " + std::to_string(start);
  for (auto h : v) s += " " + (h ? view_name(uavs_.at(h.id)) : std::string("null"));
  log(s);
}
void RecordingDevice::cs_set_constant_buffers(int start, std::span<const gpu::Buffer> v) {
  log("cs_cb " + std::to_string(start) + " x" + std::to_string(v.size()));
}
void RecordingDevice::cs_set_samplers(int start, std::span<const gpu::Sampler> v) {
  log("cs_samplers " + std::to_string(start) + " x" + std::to_string(v.size()));
}
void RecordingDevice::vs_set_samplers(int start, std::span<const gpu::Sampler> v) {
  log("vs_samplers " + std::to_string(start) + " x" + std::to_string(v.size()));
}
void RecordingDevice::ps_set_shader_resources(int start, std::span<const gpu::ShaderResourceView> v) {
  std::string s = "ps_srv " + std::to_string(start);
  for (auto h : v) s += " " + (h ? view_name(srvs_.at(h.id)) : std::string("null"));
  log(s);
}
void RecordingDevice::ps_set_constant_buffers(int start, std::span<const gpu::Buffer> v) {
  log("ps_cb " + std::to_string(start) + " x" + std::to_string(v.size()));
}
void RecordingDevice::ps_set_samplers(int start, std::span<const gpu::Sampler> v) {
  log("ps_samplers " + std::to_string(start) + " x" + std::to_string(v.size()));
}
void RecordingDevice::dispatch(uint32_t x, uint32_t y, uint32_t z) {
  log("dispatch " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z));
}
void RecordingDevice::rs_set_viewport(const gpu::Viewport& v) {
  log("viewport " + num(v.width) + " " + num(v.height));
}
void RecordingDevice::om_set_render_target(gpu::RenderTargetView v) {
  log("om_rt " + (v ? view_name(rtvs_.at(v.id)) : std::string("null")));
}
void RecordingDevice::draw(uint32_t count, uint32_t first) {
  log("draw " + std::to_string(count) + " " + std::to_string(first));
}
void RecordingDevice::update_subresource(gpu::Buffer, std::span<const uint8_t> data) {
  RecordedCall c{"upload", {}};
  std::memcpy(&c.block, data.data(), std::min(data.size(), sizeof c.block));
  calls.push_back(c);
}
void RecordingDevice::update_subresource(gpu::Texture t, std::span<const uint8_t>, uint32_t pitch) {
  log("upload_texture " + texture_labels_.at(t.id) + " pitch " + std::to_string(pitch));
}
