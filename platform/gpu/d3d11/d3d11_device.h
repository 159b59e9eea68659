#pragma once
// The Direct3D 11 backend of the GPU layer.
//
// The interface was shaped after a Direct3D 11 immediate context, so this
// backend is mostly a pass-through:
//   - handles index tables of COM objects (slot 0 of every table is the null
//     handle, which becomes a null pointer wherever it is bound);
//   - descriptors become D3D11_*_DESC structs: a texture is one 2D level
//     chain, every view names its format and its mip range explicitly, except
//     the back buffer's UAV, which takes the default (a null description);
//   - binding calls become the context's *Set* calls slot for slot, and the
//     driver orders passes itself (a resource bound for writing is unbound
//     from reading slots by the runtime, as it always is on Direct3D 11);
//     the context starts out with the triangle list, the interface's only
//     topology;
//   - new textures and constant buffers start zeroed through their initial
//     data, as the Vulkan backend clears them, so a pass that reads something
//     nothing wrote sees the same black on both;
//   - windowed, the back buffer is the swap chain's one buffer, written by
//     compute kernels through a UAV; where the platform refuses a UAV on it,
//     an ordinary texture stands in and is copied over just before Present;
//     headless, it is an ordinary RGBA8 texture that can be read back;
//   - present() and flush() wait on an event query, so every command has run
//     when they return, as the interface promises (read-back and the frame
//     timings depend on it);
//   - with timing on, a disjoint query spans each frame and a pair of
//     timestamp queries brackets every dispatch and draw; a window closes at
//     present() or flush(), and its passes become the last frame's timings.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <d3d11.h>
#include <d3d11sdklayers.h>
#include <dxgi.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"

namespace gpu::d3d11 {

using Microsoft::WRL::ComPtr;

struct TextureRecord {
  TextureDesc desc;
  std::string label;  // desc.label points here when the desc is handed out
  ComPtr<ID3D11Texture2D> texture;
};

template <typename View>
struct ViewRecord {
  ViewDesc desc;
  ComPtr<View> view;
};

// The bytes last uploaded are kept, because Direct3D 11 replaces a constant
// buffer only whole and a caller may upload fewer bytes than it holds.
struct BufferRecord {
  ComPtr<ID3D11Buffer> buffer;
  std::vector<uint8_t> contents;
};

struct ShaderRecord {
  Stage stage = Stage::Compute;
  std::string label;
  ComPtr<ID3D11ComputeShader> compute;
  ComPtr<ID3D11VertexShader> vertex;
  ComPtr<ID3D11PixelShader> pixel;
};

struct TimestampPair {
  ComPtr<ID3D11Query> begin, end;
};

class D3D11Device final : public Device {
 public:
  D3D11Device() = default;
  ~D3D11Device() override;

  bool init(const DeviceDesc& desc, std::string* error, int32_t* platform_status);

  Texture create_texture(const TextureDesc&) override;
  ShaderResourceView create_srv(const ViewDesc&) override;
  UnorderedAccessView create_uav(const ViewDesc&) override;
  RenderTargetView create_rtv(const ViewDesc&) override;
  Buffer create_buffer(const BufferDesc&) override;
  Shader create_shader(const ShaderDesc&) override;
  Sampler create_sampler(const SamplerDesc&) override;
  BlendState create_blend_state(const BlendDesc&) override;
  Texture back_buffer() override { return back_buffer_; }

  TextureDesc texture_desc(Texture) const override;
  ViewDesc view_desc(ShaderResourceView) const override;
  ViewDesc view_desc(UnorderedAccessView) const override;
  ViewDesc view_desc(RenderTargetView) const override;

  void cs_set_shader(Shader) override;
  void cs_set_shader_resources(int start, std::span<const ShaderResourceView> v) override;
  void cs_set_unordered_access_views(int start, std::span<const UnorderedAccessView> v) override;
  void cs_set_constant_buffers(int start, std::span<const Buffer> v) override;
  void cs_set_samplers(int start, std::span<const Sampler> v) override;
  void dispatch(uint32_t x, uint32_t y, uint32_t z) override;

  void vs_set_shader(Shader) override;
  void vs_set_samplers(int start, std::span<const Sampler> v) override;
  void ps_set_shader(Shader) override;
  void ps_set_shader_resources(int start, std::span<const ShaderResourceView> v) override;
  void ps_set_constant_buffers(int start, std::span<const Buffer> v) override;
  void ps_set_samplers(int start, std::span<const Sampler> v) override;
  void ia_set_triangle_list() override;
  void rs_set_viewport(const Viewport&) override;
  void om_set_render_target(RenderTargetView) override;
  void om_set_blend_state(BlendState) override;
  void draw(uint32_t vertex_count, uint32_t first_vertex) override;

  void update_subresource(Buffer, std::span<const uint8_t> data) override;
  void update_subresource(Texture, std::span<const uint8_t> data, uint32_t row_pitch) override;

  void present(int sync_interval) override;
  void flush() override;

  std::vector<uint8_t> read_rgba8(Texture) override;
  std::vector<float> read_rgba16f(Texture, int mip) override;
  std::vector<PassTiming> last_frame_timings() const override { return timings_; }
  std::optional<int> validation_message_count() const override;
  std::string adapter_name() const override { return adapter_name_; }
  // Feature level 11.0 and above; the device is never made below it.
  int max_image_side() const override { return D3D11_REQ_TEXTURE2D_U_OR_V_DIMENSION; }

 private:
  // d3d11_setup.cpp
  HRESULT create_device_objects(const DeviceDesc&, UINT flags);
  bool create_back_buffer(const DeviceDesc&, std::string* error);
  bool create_queries(std::string* error);
  void read_adapter_name();
  // d3d11_resources.cpp
  Texture add_texture(const TextureDesc&, UINT bind_flags);
  UnorderedAccessView back_buffer_uav();
  std::vector<uint8_t> read_level(Texture, int mip, uint32_t texel_bytes);
  // d3d11_commands.cpp
  void wait_idle();
  bool begin_pass_timing();
  void end_pass_timing(uint32_t shader);
  void end_frame();
  std::vector<PassTiming> collect_timings();
  void drain_validation_messages() const;

  ComPtr<ID3D11Device> device_;
  ComPtr<ID3D11DeviceContext> context_;
  ComPtr<IDXGISwapChain> swap_chain_;
  ComPtr<ID3D11Texture2D> swap_chain_buffer_;
  bool copy_to_swap_chain_ = false;  // the back buffer stands in for the swap chain's
  bool present_failure_reported_ = false;
  ComPtr<ID3D11Query> idle_query_;
  ComPtr<ID3D11InfoQueue> info_queue_;
  mutable int validation_messages_ = 0;
  std::string adapter_name_;

  bool timing_ = false;
  ComPtr<ID3D11Query> disjoint_query_;
  bool window_open_ = false;
  std::vector<TimestampPair> timestamps_;
  std::vector<std::string> window_labels_;
  std::vector<PassTiming> timings_;
  bool disjoint_reported_ = false;

  std::vector<TextureRecord> textures_{1};  // index 0 is the null handle
  std::vector<ViewRecord<ID3D11ShaderResourceView>> srvs_{1};
  std::vector<ViewRecord<ID3D11UnorderedAccessView>> uavs_{1};
  std::vector<ViewRecord<ID3D11RenderTargetView>> rtvs_{1};
  std::vector<BufferRecord> buffers_{1};
  std::vector<ShaderRecord> shaders_{1};
  std::vector<ComPtr<ID3D11SamplerState>> samplers_{1};
  std::vector<ComPtr<ID3D11BlendState>> blends_{1};

  uint32_t compute_shader_ = 0, pixel_shader_ = 0;
  Texture back_buffer_{};
};

DXGI_FORMAT to_dxgi(Format f);
uint32_t texel_bytes(Format f);

}  // namespace gpu::d3d11
