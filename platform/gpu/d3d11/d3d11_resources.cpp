// Textures, views, constant buffers, programs, samplers, blend states,
// uploads and read-back.
#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>

#include "platform/gpu/d3d11/d3d11_device.h"

namespace gpu::d3d11 {

namespace {

UINT levels(int n) { return n <= 0 ? 1u : static_cast<UINT>(n); }

UINT bind_flags(uint32_t bind) {
  UINT flags = 0;
  if (bind & kBindShaderResource) flags |= D3D11_BIND_SHADER_RESOURCE;
  if (bind & kBindRenderTarget) flags |= D3D11_BIND_RENDER_TARGET;
  if (bind & kBindUnorderedAccess) flags |= D3D11_BIND_UNORDERED_ACCESS;
  return flags;
}

D3D11_TEXTURE_ADDRESS_MODE to_d3d(AddressMode m) {
  switch (m) {
    case AddressMode::Border: return D3D11_TEXTURE_ADDRESS_BORDER;
    case AddressMode::Wrap: return D3D11_TEXTURE_ADDRESS_WRAP;
    default: return D3D11_TEXTURE_ADDRESS_CLAMP;
  }
}

const char* name_of(const char* label) { return label && *label ? label : "(unnamed)"; }

template <typename Handle, typename Record>
Handle add(std::vector<Record>& table, Record record) {
  table.push_back(std::move(record));
  return Handle{static_cast<uint32_t>(table.size() - 1)};
}

template <typename Handle, typename View>
ViewDesc desc_of(const std::vector<ViewRecord<View>>& views, Handle h) {
  return h.id < views.size() ? views[h.id].desc : ViewDesc{};
}

}  // namespace

DXGI_FORMAT to_dxgi(Format f) {
  return f == Format::RGBA16F ? DXGI_FORMAT_R16G16B16A16_FLOAT : DXGI_FORMAT_R8G8B8A8_UNORM;
}

uint32_t texel_bytes(Format f) { return f == Format::RGBA16F ? 8 : 4; }

Texture D3D11Device::create_texture(const TextureDesc& desc) { return add_texture(desc, bind_flags(desc.bind)); }

// Every level starts zeroed through its initial data, as the Vulkan backend
// clears new images: captures must not depend on leftover memory.
Texture D3D11Device::add_texture(const TextureDesc& desc, UINT bind) {
  TextureRecord rec{desc, desc.label ? desc.label : "", nullptr};
  rec.desc.mip_levels = static_cast<int>(levels(desc.mip_levels));
  D3D11_TEXTURE2D_DESC td{};
  td.Width = static_cast<UINT>(std::max(desc.width, 0));
  td.Height = static_cast<UINT>(std::max(desc.height, 0));
  td.MipLevels = levels(desc.mip_levels);
  td.ArraySize = 1;
  td.Format = to_dxgi(desc.format);
  td.SampleDesc = {1, 0};
  td.Usage = D3D11_USAGE_DEFAULT;
  td.BindFlags = bind;
  td.MiscFlags = desc.generate_mips ? D3D11_RESOURCE_MISC_GENERATE_MIPS : 0;
  HRESULT hr = E_INVALIDARG;
  if (desc.width > 0 && desc.height > 0 && desc.width <= max_image_side() && desc.height <= max_image_side() &&
      td.MipLevels <= 32) {
    const UINT bpp = texel_bytes(desc.format);
    std::vector<uint8_t> zeros(size_t(td.Width) * td.Height * bpp);
    std::vector<D3D11_SUBRESOURCE_DATA> initial(td.MipLevels);
    for (UINT level = 0; level < td.MipLevels; ++level) {
      UINT pitch = std::max(1u, td.Width >> level) * bpp;
      initial[level] = {zeros.data(), pitch, pitch * std::max(1u, td.Height >> level)};
    }
    hr = device_->CreateTexture2D(&td, initial.data(), &rec.texture);
  }
  if (FAILED(hr)) {
    failures_.report("cannot create texture " + std::string(name_of(desc.label)) + " (" +
                     std::to_string(desc.width) + "x" + std::to_string(desc.height) + ", HRESULT " + hex(hr) +
                     ")");
    return {};
  }
  return add<Texture>(textures_, std::move(rec));
}

ShaderResourceView D3D11Device::create_srv(const ViewDesc& d) {
  if (!d.texture || d.texture.id >= textures_.size()) return {};
  const TextureRecord& tex = textures_[d.texture.id];
  D3D11_SHADER_RESOURCE_VIEW_DESC vd{};
  vd.Format = to_dxgi(tex.desc.format);
  vd.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
  vd.Texture2D.MostDetailedMip = static_cast<UINT>(d.most_detailed_mip);
  vd.Texture2D.MipLevels = levels(d.mip_levels);
  ViewRecord<ID3D11ShaderResourceView> rec{d, nullptr};
  rec.desc.mip_levels = static_cast<int>(levels(d.mip_levels));
  if (HRESULT hr = device_->CreateShaderResourceView(tex.texture.Get(), &vd, &rec.view); FAILED(hr)) {
    failures_.report("cannot create a shader resource view of " + std::string(name_of(tex.label.c_str())) +
                     " (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<ShaderResourceView>(srvs_, std::move(rec));
}

UnorderedAccessView D3D11Device::create_uav(const ViewDesc& d) {
  if (!d.texture || d.texture.id >= textures_.size()) return {};
  if (d.texture == back_buffer_) return back_buffer_uav();
  const TextureRecord& tex = textures_[d.texture.id];
  D3D11_UNORDERED_ACCESS_VIEW_DESC vd{};
  vd.Format = to_dxgi(tex.desc.format);
  vd.ViewDimension = D3D11_UAV_DIMENSION_TEXTURE2D;
  vd.Texture2D.MipSlice = static_cast<UINT>(d.most_detailed_mip);
  ViewRecord<ID3D11UnorderedAccessView> rec{d, nullptr};
  rec.desc.mip_levels = 1;
  if (HRESULT hr = device_->CreateUnorderedAccessView(tex.texture.Get(), &vd, &rec.view); FAILED(hr)) {
    failures_.report("cannot create an unordered-access view of " + std::string(name_of(tex.label.c_str())) +
                     " (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<UnorderedAccessView>(uavs_, std::move(rec));
}

// The back buffer's view takes the default description. A swap chain buffer
// may refuse unordered access (some Direct3D implementations ignore the
// swap chain's usage flag); then the handle is given an ordinary texture,
// which present() copies into the swap chain's buffer.
UnorderedAccessView D3D11Device::back_buffer_uav() {
  TextureRecord& tex = textures_[back_buffer_.id];
  ViewRecord<ID3D11UnorderedAccessView> rec{{.texture = back_buffer_, .mip_levels = 1}, nullptr};
  HRESULT hr = device_->CreateUnorderedAccessView(tex.texture.Get(), nullptr, &rec.view);
  if (FAILED(hr) && swap_chain_ && !copy_to_swap_chain_) {
    D3D11_TEXTURE2D_DESC td{};
    swap_chain_buffer_->GetDesc(&td);
    td.BindFlags = D3D11_BIND_UNORDERED_ACCESS | D3D11_BIND_SHADER_RESOURCE;
    td.MiscFlags = 0;
    ComPtr<ID3D11Texture2D> stand_in;
    if (SUCCEEDED(device_->CreateTexture2D(&td, nullptr, &stand_in)) &&
        SUCCEEDED(hr = device_->CreateUnorderedAccessView(stand_in.Get(), nullptr, &rec.view))) {
      std::fprintf(stderr,
                   "gpu: the swap chain's buffer takes no unordered-access view; "
                   "frames are drawn into a texture and copied over\n");
      context_->CopyResource(stand_in.Get(), swap_chain_buffer_.Get());  // what was uploaded so far
      tex.texture = stand_in;
      copy_to_swap_chain_ = true;
    }
  }
  if (FAILED(hr)) {
    failures_.report("cannot create an unordered-access view of the back buffer (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<UnorderedAccessView>(uavs_, std::move(rec));
}

RenderTargetView D3D11Device::create_rtv(const ViewDesc& d) {
  if (!d.texture || d.texture.id >= textures_.size()) return {};
  const TextureRecord& tex = textures_[d.texture.id];
  D3D11_RENDER_TARGET_VIEW_DESC vd{};
  vd.Format = to_dxgi(tex.desc.format);
  vd.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
  vd.Texture2D.MipSlice = static_cast<UINT>(d.most_detailed_mip);
  ViewRecord<ID3D11RenderTargetView> rec{d, nullptr};
  rec.desc.mip_levels = 1;
  if (HRESULT hr = device_->CreateRenderTargetView(tex.texture.Get(), &vd, &rec.view); FAILED(hr)) {
    failures_.report("cannot create a render-target view of " + std::string(name_of(tex.label.c_str())) +
                     " (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<RenderTargetView>(rtvs_, std::move(rec));
}

Buffer D3D11Device::create_buffer(const BufferDesc& desc) {
  D3D11_BUFFER_DESC bd{};
  bd.ByteWidth = desc.byte_width;
  bd.Usage = D3D11_USAGE_DEFAULT;
  bd.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  bd.StructureByteStride = desc.byte_width;
  BufferRecord rec{nullptr, std::vector<uint8_t>(desc.byte_width, 0)};
  D3D11_SUBRESOURCE_DATA initial{rec.contents.data(), 0, 0};
  HRESULT hr = desc.byte_width == 0 ? E_INVALIDARG : device_->CreateBuffer(&bd, &initial, &rec.buffer);
  if (FAILED(hr)) {
    failures_.report("cannot create the " + std::to_string(desc.byte_width) + "-byte constant buffer " +
                     name_of(desc.label) + " (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<Buffer>(buffers_, std::move(rec));
}

Shader D3D11Device::create_shader(const ShaderDesc& desc) {
  ShaderRecord rec{desc.stage, desc.label ? desc.label : "", nullptr, nullptr, nullptr};
  const void* code = desc.code.data();
  const SIZE_T size = desc.code.size();
  HRESULT hr = E_INVALIDARG;
  if (size > 0) {
    switch (desc.stage) {
      case Stage::Compute: hr = device_->CreateComputeShader(code, size, nullptr, &rec.compute); break;
      case Stage::Vertex: hr = device_->CreateVertexShader(code, size, nullptr, &rec.vertex); break;
      case Stage::Pixel: hr = device_->CreatePixelShader(code, size, nullptr, &rec.pixel); break;
    }
  }
  if (FAILED(hr)) {
    failures_.report("cannot create program " + std::string(name_of(desc.label)) + " (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<Shader>(shaders_, std::move(rec));
}

Sampler D3D11Device::create_sampler(const SamplerDesc& desc) {
  D3D11_SAMPLER_DESC sd{};
  sd.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
  sd.AddressU = sd.AddressV = sd.AddressW = to_d3d(desc.address);
  sd.MipLODBias = 0;
  sd.MaxAnisotropy = 1;
  sd.ComparisonFunc = D3D11_COMPARISON_NEVER;
  sd.MinLOD = -FLT_MAX;
  sd.MaxLOD = FLT_MAX;
  ComPtr<ID3D11SamplerState> sampler;
  if (HRESULT hr = device_->CreateSamplerState(&sd, &sampler); FAILED(hr)) {
    failures_.report("cannot create a sampler (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<Sampler>(samplers_, std::move(sampler));
}

BlendState D3D11Device::create_blend_state(const BlendDesc& desc) {
  D3D11_BLEND_DESC bd{};
  D3D11_RENDER_TARGET_BLEND_DESC& rt = bd.RenderTarget[0];
  rt.BlendEnable = desc.additive ? TRUE : FALSE;
  rt.SrcBlend = rt.SrcBlendAlpha = D3D11_BLEND_ONE;
  rt.DestBlend = rt.DestBlendAlpha = D3D11_BLEND_ONE;
  rt.BlendOp = rt.BlendOpAlpha = D3D11_BLEND_OP_ADD;
  rt.RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
  ComPtr<ID3D11BlendState> blend;
  if (HRESULT hr = device_->CreateBlendState(&bd, &blend); FAILED(hr)) {
    failures_.report("cannot create a blend state (HRESULT " + hex(hr) + ")");
    return {};
  }
  return add<BlendState>(blends_, std::move(blend));
}

TextureDesc D3D11Device::texture_desc(Texture t) const {
  if (t.id >= textures_.size()) return {};
  TextureDesc d = textures_[t.id].desc;
  d.label = t ? textures_[t.id].label.c_str() : nullptr;
  return d;
}

ViewDesc D3D11Device::view_desc(ShaderResourceView v) const { return desc_of(srvs_, v); }
ViewDesc D3D11Device::view_desc(UnorderedAccessView v) const { return desc_of(uavs_, v); }
ViewDesc D3D11Device::view_desc(RenderTargetView v) const { return desc_of(rtvs_, v); }

// Direct3D 11 replaces a constant buffer only whole: the bytes given
// overwrite the start of what the buffer last held, as on Vulkan.
void D3D11Device::update_subresource(Buffer b, std::span<const uint8_t> data) {
  if (!b || b.id >= buffers_.size() || data.empty()) return;
  BufferRecord& rec = buffers_[b.id];
  std::memcpy(rec.contents.data(), data.data(), std::min(data.size(), rec.contents.size()));
  context_->UpdateSubresource(rec.buffer.Get(), 0, nullptr, rec.contents.data(), 0, 0);
}

void D3D11Device::update_subresource(Texture t, std::span<const uint8_t> data, uint32_t row_pitch) {
  if (!t || t.id >= textures_.size()) return;
  const TextureRecord& rec = textures_[t.id];
  const uint32_t bpp = texel_bytes(rec.desc.format);
  const size_t need = size_t(row_pitch) * (rec.desc.height - 1) + size_t(rec.desc.width) * bpp;
  if (row_pitch < rec.desc.width * bpp || data.size() < need) {
    std::fprintf(stderr, "gpu: upload to %s is smaller than the texture\n", name_of(rec.label.c_str()));
    return;
  }
  context_->UpdateSubresource(rec.texture.Get(), 0, nullptr, data.data(), row_pitch, 0);
}

std::vector<uint8_t> D3D11Device::read_level(Texture t, int mip, uint32_t bpp) {
  if (!t || t.id >= textures_.size() || mip < 0 || mip >= textures_[t.id].desc.mip_levels) return {};
  const TextureRecord& rec = textures_[t.id];
  D3D11_TEXTURE2D_DESC td{};
  td.Width = static_cast<UINT>(std::max(1, rec.desc.width >> mip));
  td.Height = static_cast<UINT>(std::max(1, rec.desc.height >> mip));
  td.MipLevels = td.ArraySize = 1;
  td.Format = to_dxgi(rec.desc.format);
  td.SampleDesc = {1, 0};
  td.Usage = D3D11_USAGE_STAGING;
  td.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  ComPtr<ID3D11Texture2D> staging;
  if (FAILED(device_->CreateTexture2D(&td, nullptr, &staging))) {
    std::fprintf(stderr, "gpu: cannot create a staging texture to read %s\n", name_of(rec.label.c_str()));
    return {};
  }
  const UINT level = D3D11CalcSubresource(static_cast<UINT>(mip), 0, static_cast<UINT>(rec.desc.mip_levels));
  context_->CopySubresourceRegion(staging.Get(), 0, 0, 0, 0, rec.texture.Get(), level, nullptr);
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context_->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped))) {
    std::fprintf(stderr, "gpu: cannot map the read-back of %s\n", name_of(rec.label.c_str()));
    return {};
  }
  const size_t row = size_t(td.Width) * bpp;
  std::vector<uint8_t> out(row * td.Height);
  for (UINT y = 0; y < td.Height; ++y)
    std::memcpy(out.data() + y * row, static_cast<const uint8_t*>(mapped.pData) + size_t(y) * mapped.RowPitch,
                row);
  context_->Unmap(staging.Get(), 0);
  return out;
}

std::vector<uint8_t> D3D11Device::read_rgba8(Texture t) {
  if (texture_desc(t).format != Format::RGBA8) return {};
  return read_level(t, 0, 4);
}

std::vector<float> D3D11Device::read_rgba16f(Texture t, int mip) {
  if (texture_desc(t).format != Format::RGBA16F) return {};
  return halves_to_floats(read_level(t, mip, 8));
}

}  // namespace gpu::d3d11
