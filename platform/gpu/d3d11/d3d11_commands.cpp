// Binding calls, dispatches, draws, the end of a frame and its timings.
#include <cstdio>

#include "platform/gpu/d3d11/d3d11_device.h"
#include "platform/gpu/d3d11/d3d11_wait.h"

namespace gpu::d3d11 {

namespace {

// A pass's timings are kept for this many dispatches and draws a frame.
constexpr size_t kMaxTimedPasses = 128;

// The runtime drops a binding call that reaches past the stage's slots;
// saying so here makes the dropped call visible without the debug layer.
bool fits(int start, size_t count, UINT slots, const char* what) {
  if (start >= 0 && size_t(start) + count <= slots) return true;
  std::fprintf(stderr, "gpu: %zu %s from slot %d reach past the stage's %u; not bound\n", count, what, start,
               slots);
  return false;
}

// The COM pointers behind a run of handles; the null handle (and anything
// out of range) binds a null pointer, which unbinds the slot.
template <typename Handle, typename Table, typename Get>
auto pointers(std::span<const Handle> handles, const Table& table, Get get) {
  std::vector<decltype(get(table[0]))> out;
  out.reserve(handles.size());
  for (Handle h : handles) out.push_back(h.id < table.size() ? get(table[h.id]) : nullptr);
  return out;
}

constexpr auto view_of = [](const auto& record) { return record.view.Get(); };
constexpr auto buffer_of = [](const BufferRecord& record) { return record.buffer.Get(); };
constexpr auto object_of = [](const auto& com) { return com.Get(); };

}  // namespace

void D3D11Device::cs_set_shader(Shader s) {
  compute_shader_ = s.id < shaders_.size() ? s.id : 0;
  context_->CSSetShader(shaders_[compute_shader_].compute.Get(), nullptr, 0);
}

void D3D11Device::cs_set_shader_resources(int start, std::span<const ShaderResourceView> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT, "shader resources")) return;
  auto views = pointers(v, srvs_, view_of);
  context_->CSSetShaderResources(UINT(start), UINT(views.size()), views.data());
}

void D3D11Device::cs_set_unordered_access_views(int start, std::span<const UnorderedAccessView> v) {
  if (!fits(start, v.size(), D3D11_PS_CS_UAV_REGISTER_COUNT, "unordered-access views")) return;
  auto views = pointers(v, uavs_, view_of);
  context_->CSSetUnorderedAccessViews(UINT(start), UINT(views.size()), views.data(), nullptr);
}

void D3D11Device::cs_set_constant_buffers(int start, std::span<const Buffer> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT, "constant buffers")) return;
  auto buffers = pointers(v, buffers_, buffer_of);
  context_->CSSetConstantBuffers(UINT(start), UINT(buffers.size()), buffers.data());
}

void D3D11Device::cs_set_samplers(int start, std::span<const Sampler> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT, "samplers")) return;
  auto samplers = pointers(v, samplers_, object_of);
  context_->CSSetSamplers(UINT(start), UINT(samplers.size()), samplers.data());
}

void D3D11Device::dispatch(uint32_t x, uint32_t y, uint32_t z) {
  const bool timed = begin_pass_timing();
  context_->Dispatch(x, y, z);
  if (timed) end_pass_timing(compute_shader_);
}

void D3D11Device::vs_set_shader(Shader s) {
  context_->VSSetShader(s.id < shaders_.size() ? shaders_[s.id].vertex.Get() : nullptr, nullptr, 0);
}

void D3D11Device::vs_set_samplers(int start, std::span<const Sampler> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT, "samplers")) return;
  auto samplers = pointers(v, samplers_, object_of);
  context_->VSSetSamplers(UINT(start), UINT(samplers.size()), samplers.data());
}

void D3D11Device::ps_set_shader(Shader s) {
  pixel_shader_ = s.id < shaders_.size() ? s.id : 0;
  context_->PSSetShader(shaders_[pixel_shader_].pixel.Get(), nullptr, 0);
}

void D3D11Device::ps_set_shader_resources(int start, std::span<const ShaderResourceView> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT, "shader resources")) return;
  auto views = pointers(v, srvs_, view_of);
  context_->PSSetShaderResources(UINT(start), UINT(views.size()), views.data());
}

void D3D11Device::ps_set_constant_buffers(int start, std::span<const Buffer> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT, "constant buffers")) return;
  auto buffers = pointers(v, buffers_, buffer_of);
  context_->PSSetConstantBuffers(UINT(start), UINT(buffers.size()), buffers.data());
}

void D3D11Device::ps_set_samplers(int start, std::span<const Sampler> v) {
  if (!fits(start, v.size(), D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT, "samplers")) return;
  auto samplers = pointers(v, samplers_, object_of);
  context_->PSSetSamplers(UINT(start), UINT(samplers.size()), samplers.data());
}

void D3D11Device::ia_set_triangle_list() {
  context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
}

void D3D11Device::rs_set_viewport(const Viewport& v) {
  D3D11_VIEWPORT vp{v.x, v.y, v.width, v.height, v.min_depth, v.max_depth};
  context_->RSSetViewports(1, &vp);
}

void D3D11Device::om_set_render_target(RenderTargetView v) {
  ID3D11RenderTargetView* target = v.id < rtvs_.size() ? rtvs_[v.id].view.Get() : nullptr;
  context_->OMSetRenderTargets(1, &target, nullptr);
}

void D3D11Device::om_set_blend_state(BlendState b) {
  ID3D11BlendState* blend = b.id < blends_.size() ? blends_[b.id].Get() : nullptr;
  context_->OMSetBlendState(blend, nullptr, 0xffffffffu);
}

void D3D11Device::draw(uint32_t vertex_count, uint32_t first_vertex) {
  const bool timed = begin_pass_timing();
  context_->Draw(vertex_count, first_vertex);
  if (timed) end_pass_timing(pixel_shader_);
}

void D3D11Device::present(int sync_interval) {
  if (swap_chain_) {
    if (copy_to_swap_chain_)
      context_->CopyResource(swap_chain_buffer_.Get(), textures_[back_buffer_.id].texture.Get());
    HRESULT hr = swap_chain_->Present(static_cast<UINT>(sync_interval < 0 ? 0 : sync_interval), 0);
    if (FAILED(hr) && !present_failure_reported_) {
      std::fprintf(stderr, "gpu: Present failed (HRESULT 0x%08X)\n", static_cast<unsigned>(hr));
      present_failure_reported_ = true;
    }
    // The swap chain's queue of one frame paced this frame inside Present;
    // waiting for the GPU as well would only add the frame's whole GPU time
    // to the loop. Timed passes are the exception: their results are waited
    // for.
    if (!window_open_) {
      drain_validation_messages();
      return;
    }
  }
  end_frame();
}

void D3D11Device::flush() {
  context_->Flush();
  end_frame();
}

void D3D11Device::wait_idle() {
  context_->End(idle_query_.Get());
  BOOL done = FALSE;
  wait_for(context_.Get(), idle_query_.Get(), &done, sizeof done);
}

bool D3D11Device::begin_pass_timing() {
  if (!timing_ || window_labels_.size() >= kMaxTimedPasses) return false;
  const size_t pass = window_labels_.size();
  if (pass == timestamps_.size()) {
    D3D11_QUERY_DESC qd{D3D11_QUERY_TIMESTAMP, 0};
    TimestampPair pair;
    if (FAILED(device_->CreateQuery(&qd, &pair.begin)) || FAILED(device_->CreateQuery(&qd, &pair.end)))
      return false;
    timestamps_.push_back(std::move(pair));
  }
  if (!window_open_) {
    context_->Begin(disjoint_query_.Get());
    window_open_ = true;
  }
  context_->End(timestamps_[pass].begin.Get());
  return true;
}

void D3D11Device::end_pass_timing(uint32_t shader) {
  context_->End(timestamps_[window_labels_.size()].end.Get());
  window_labels_.push_back(shaders_[shader].label);
}

// Ends the frame headless, on a flush, or with passes timed: everything
// recorded has run when this returns, and the passes timed since the last
// window closed become the frame's timings. A window without timed passes
// leaves the last timings standing, as a flush between frames would
// otherwise wipe them.
void D3D11Device::end_frame() {
  if (window_open_) context_->End(disjoint_query_.Get());
  wait_idle();
  drain_validation_messages();
  if (!window_open_) return;
  window_open_ = false;
  timings_ = collect_timings();
  window_labels_.clear();
}

// An unreliable clock (the GPU changed frequency mid-frame) gives no
// timings rather than wrong ones.
std::vector<PassTiming> D3D11Device::collect_timings() {
  D3D11_QUERY_DATA_TIMESTAMP_DISJOINT clock{};
  bool valid = wait_for(context_.Get(), disjoint_query_.Get(), &clock, sizeof clock) == S_OK && !clock.Disjoint &&
               clock.Frequency != 0;
  std::vector<PassTiming> passes;
  for (size_t i = 0; valid && i < window_labels_.size(); ++i) {
    UINT64 begin = 0, end = 0;
    valid = wait_for(context_.Get(), timestamps_[i].begin.Get(), &begin, sizeof begin) == S_OK &&
            wait_for(context_.Get(), timestamps_[i].end.Get(), &end, sizeof end) == S_OK;
    passes.push_back({window_labels_[i], double(end - begin) * 1000.0 / double(clock.Frequency)});
  }
  if (valid) return passes;
  if (!disjoint_reported_) {
    std::fprintf(stderr, "gpu: a frame's timestamps were unreliable; its timings are left out\n");
    disjoint_reported_ = true;
  }
  return {};
}

std::optional<int> D3D11Device::validation_message_count() const {
  if (!info_queue_) return std::nullopt;  // no debug layer
  drain_validation_messages();
  return validation_messages_;
}

void D3D11Device::drain_validation_messages() const {
  if (!info_queue_) return;
  const UINT64 count = info_queue_->GetNumStoredMessages();
  for (UINT64 i = 0; i < count; ++i) {
    SIZE_T size = 0;
    if (FAILED(info_queue_->GetMessage(i, nullptr, &size)) || size == 0) continue;
    std::vector<uint8_t> bytes(size);
    auto* message = reinterpret_cast<D3D11_MESSAGE*>(bytes.data());
    if (FAILED(info_queue_->GetMessage(i, message, &size))) continue;
    if (message->Severity > D3D11_MESSAGE_SEVERITY_WARNING) continue;
    std::fprintf(stderr, "direct3d 11 validation: %.*s\n", static_cast<int>(message->DescriptionByteLength),
                 message->pDescription);
    ++validation_messages_;
  }
  info_queue_->ClearStoredMessages();
}

}  // namespace gpu::d3d11
