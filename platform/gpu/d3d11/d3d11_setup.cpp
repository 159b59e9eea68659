// The device, its swap chain or off-screen back buffer, the adapter's name
// and the queries every frame uses.
#include <cstdio>

#include "platform/gpu/d3d11/d3d11_device.h"

namespace gpu::d3d11 {

namespace {

std::string utf8(const wchar_t* wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();  // the terminator
  return out;
}

DXGI_SWAP_CHAIN_DESC swap_chain_desc(const DeviceDesc& desc) {
  DXGI_SWAP_CHAIN_DESC sc{};
  sc.BufferDesc.Width = static_cast<UINT>(desc.width);
  sc.BufferDesc.Height = static_cast<UINT>(desc.height);
  sc.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  sc.SampleDesc.Count = 1;
  // Compute kernels write the picture straight into the buffer.
  sc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT | DXGI_USAGE_UNORDERED_ACCESS;
  sc.BufferCount = 1;
  sc.OutputWindow = static_cast<HWND>(desc.window);
  sc.Windowed = TRUE;
  sc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
  return sc;
}

}  // namespace

std::string hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

HRESULT D3D11Device::create_device_objects(const DeviceDesc& desc, UINT flags) {
  swap_chain_.Reset();
  device_.Reset();
  context_.Reset();
  if (!desc.window)
    return D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, flags, nullptr, 0, D3D11_SDK_VERSION,
                             &device_, nullptr, &context_);
  DXGI_SWAP_CHAIN_DESC sc = swap_chain_desc(desc);
  return D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, flags, nullptr, 0,
                                       D3D11_SDK_VERSION, &sc, &swap_chain_, &device_, nullptr, &context_);
}

bool D3D11Device::init(const DeviceDesc& desc, std::string* error, int32_t* platform_status) {
  timing_ = desc.timing;
  // The debug layer ships with the SDK only (and not at all under Wine):
  // without it the device is made as if validation had not been asked for.
  HRESULT hr = E_FAIL;
  if (desc.validation) hr = create_device_objects(desc, D3D11_CREATE_DEVICE_DEBUG);
  if (FAILED(hr)) hr = create_device_objects(desc, 0);
  if (SUCCEEDED(hr) && device_->GetFeatureLevel() < D3D_FEATURE_LEVEL_11_0)
    hr = DXGI_ERROR_UNSUPPORTED;  // the compute kernels are shader model 5.0
  if (FAILED(hr)) {
    if (platform_status) *platform_status = static_cast<int32_t>(hr);
    *error = std::string("cannot create a Direct3D 11 device") + (desc.window ? " and swap chain" : "") +
             " (HRESULT " + hex(hr) + "); a GPU with Direct3D feature level 11.0 is needed";
    return false;
  }
  if (desc.validation) device_.As(&info_queue_);  // there only with the debug layer
  read_adapter_name();
  // The interface has one topology, so a draw made before any
  // ia_set_triangle_list() draws triangles too, as it does on Vulkan.
  context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  if (swap_chain_) bound_frame_queue();
  return create_back_buffer(desc, error) && create_queries(error);
}

// At most one frame queued ahead of the display (DXGI's default is three):
// Present then blocks, inside the runtime, while the frame presented before
// is still queued, so the picture on screen is at most one refresh behind
// the clock sample it was drawn from, and the loop never has to wait for
// the GPU itself.
void D3D11Device::bound_frame_queue() {
  ComPtr<IDXGIDevice1> dxgi;
  HRESULT hr = device_.As(&dxgi);
  if (SUCCEEDED(hr)) hr = dxgi->SetMaximumFrameLatency(1);
  if (FAILED(hr))
    std::fprintf(stderr,
                 "gpu: the frame queue cannot be bounded (HRESULT %s); frames may run up to "
                 "three ahead of the display\n",
                 hex(hr).c_str());
}

bool D3D11Device::create_back_buffer(const DeviceDesc& desc, std::string* error) {
  const TextureDesc back{.width = desc.width,
                         .height = desc.height,
                         .mip_levels = 1,
                         .format = Format::RGBA8,
                         .bind = kBindUnorderedAccess,
                         .label = "backBuffer"};
  if (swap_chain_) {
    HRESULT hr = swap_chain_->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                        reinterpret_cast<void**>(swap_chain_buffer_.GetAddressOf()));
    if (FAILED(hr)) {
      *error = "cannot get the swap chain's buffer (HRESULT " + hex(hr) + ")";
      return false;
    }
    textures_.push_back({back, "backBuffer", swap_chain_buffer_});
    back_buffer_ = Texture{static_cast<uint32_t>(textures_.size() - 1)};
    return true;
  }
  // Headless, the picture is read back, which needs it readable by copies
  // and shader resource views as well.
  back_buffer_ = add_texture(back, D3D11_BIND_UNORDERED_ACCESS | D3D11_BIND_SHADER_RESOURCE);
  if (!back_buffer_) {
    *error = back_buffer_failure(desc.width, desc.height, max_image_side());
    return false;
  }
  return true;
}

bool D3D11Device::create_queries(std::string* error) {
  D3D11_QUERY_DESC event{D3D11_QUERY_EVENT, 0};
  if (HRESULT hr = device_->CreateQuery(&event, &idle_query_); FAILED(hr)) {
    *error = "cannot create an event query (HRESULT " + hex(hr) + ")";
    return false;
  }
  D3D11_QUERY_DESC disjoint{D3D11_QUERY_TIMESTAMP_DISJOINT, 0};
  if (timing_ && FAILED(device_->CreateQuery(&disjoint, &disjoint_query_))) {
    std::fprintf(stderr, "gpu: no timestamp queries on this device; passes are not timed\n");
    timing_ = false;
  }
  return true;
}

void D3D11Device::read_adapter_name() {
  ComPtr<IDXGIDevice> dxgi;
  ComPtr<IDXGIAdapter> adapter;
  DXGI_ADAPTER_DESC desc{};
  if (SUCCEEDED(device_.As(&dxgi)) && SUCCEEDED(dxgi->GetAdapter(&adapter)) && SUCCEEDED(adapter->GetDesc(&desc)))
    adapter_name_ = utf8(desc.Description);
}

D3D11Device::~D3D11Device() {
  if (context_) {
    context_->ClearState();
    context_->Flush();
  }
}

}  // namespace gpu::d3d11

namespace gpu {

std::unique_ptr<Device> create_device(const DeviceDesc& desc, std::string* error, int32_t* platform_status) {
  auto device = std::make_unique<d3d11::D3D11Device>();
  std::string message;
  if (!device->init(desc, &message, platform_status)) {
    if (error) *error = message;
    return nullptr;
  }
  return device;
}

}  // namespace gpu
