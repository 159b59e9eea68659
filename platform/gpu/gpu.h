#pragma once
// The GPU device the intro draws with.
//
// The renderer was written against a Direct3D 11 immediate context, and this
// interface keeps that shape so the set-up and frame code read like the call
// lists they implement:
//
//   - objects are created from descriptor structs in which zero means the
//     default (a mip count of 0 is one level, a view's level count of 0 is one
//     level), and come back as small handles; a handle with id 0 is "null";
//   - resources are bound by slot and stage (t# = shader resource, u# =
//     unordered access, b# = constant buffer, s# = sampler, render target 0),
//     and each dispatch or draw sees exactly what was bound and uploaded
//     before it: the backend orders passes itself, callers never place
//     barriers;
//   - update_subresource replaces a whole constant buffer or a texture's
//     level 0, and the new contents are what the next pass reads;
//   - present shows the back buffer (an RGBA8 image compute kernels write
//     through an unordered-access view) and starts a new frame; the display
//     paces it, by blocking waits only.
//
// Programs are compiled from the same HLSL for each backend: SPIR-V with the
// register shifts of the build (b -> 0, t -> 16, s -> 32, u -> 48 in
// descriptor set 0, so a program's slots are read straight out of its code)
// for Vulkan, shader-model-5.0 DXBC for Direct3D 11.
//
// A backend lives in a folder of its own (vulkan/, d3d11/); the build links
// exactly one, and its create_device is the one called.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gpu {

template <typename Tag>
struct Handle {
  uint32_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(Handle a, Handle b) { return a.id == b.id; }
};

using Texture = Handle<struct TextureTag>;
using ShaderResourceView = Handle<struct SrvTag>;
using UnorderedAccessView = Handle<struct UavTag>;
using RenderTargetView = Handle<struct RtvTag>;
using Buffer = Handle<struct BufferTag>;
using Shader = Handle<struct ShaderTag>;
using Sampler = Handle<struct SamplerTag>;
using BlendState = Handle<struct BlendTag>;

enum class Format : uint8_t { RGBA8, RGBA16F };

enum BindFlags : uint32_t {
  kBindShaderResource = 1u << 0,
  kBindRenderTarget = 1u << 1,
  kBindUnorderedAccess = 1u << 2,
};

struct TextureDesc {
  int width = 0;
  int height = 0;
  int mip_levels = 0;  // 0 means 1
  Format format = Format::RGBA8;
  uint32_t bind = 0;  // BindFlags
  // Declared like the original; nothing generates them. Direct3D 11 accepts
  // the flag only on a texture bound as render target and shader resource.
  bool generate_mips = false;
  const char* label = nullptr;
};

// Shader-resource, unordered-access and render-target views: a range of mip
// levels of one texture (UAVs and RTVs always cover exactly one level).
struct ViewDesc {
  Texture texture;
  int most_detailed_mip = 0;
  int mip_levels = 0;  // 0 means 1
};

struct BufferDesc {
  uint32_t byte_width = 0;  // a constant buffer; the only kind the intro needs
  const char* label = nullptr;
};

enum class Stage : uint8_t { Compute, Vertex, Pixel };

struct ShaderDesc {
  Stage stage = Stage::Compute;
  std::span<const uint8_t> code;  // SPIR-V for Vulkan, DXBC for Direct3D 11
  const char* label = nullptr;    // names the pass in timings and messages
};

enum class AddressMode : uint8_t { Clamp, Border, Wrap };

// Trilinear filtering, border colour transparent black, no LOD clamp.
struct SamplerDesc {
  AddressMode address = AddressMode::Clamp;
};

struct BlendDesc {
  bool additive = false;  // one * source + one * destination on colour and alpha
};

struct Viewport {
  float x = 0, y = 0, width = 0, height = 0, min_depth = 0, max_depth = 1;
};

// GPU time of one dispatch or draw of the last presented frame.
struct PassTiming {
  std::string label;
  double milliseconds = 0;
};

class Device {
 public:
  virtual ~Device() = default;

  // Creation. A failed creation returns a null handle and is reported on
  // stderr; first_failure() keeps what the first one said, so a caller can
  // check a whole set-up at once and name the object that failed.
  virtual Texture create_texture(const TextureDesc&) = 0;
  virtual ShaderResourceView create_srv(const ViewDesc&) = 0;
  virtual UnorderedAccessView create_uav(const ViewDesc&) = 0;
  virtual RenderTargetView create_rtv(const ViewDesc&) = 0;
  virtual Buffer create_buffer(const BufferDesc&) = 0;
  virtual Shader create_shader(const ShaderDesc&) = 0;
  virtual Sampler create_sampler(const SamplerDesc&) = 0;
  virtual BlendState create_blend_state(const BlendDesc&) = 0;
  virtual Texture back_buffer() = 0;

  // "cannot create program SceneKernel (HRESULT 0x80070057)": the first
  // creation that failed since the device was made; empty while none has.
  virtual std::string first_failure() const = 0;

  // What was created, as the device holds it.
  virtual TextureDesc texture_desc(Texture) const = 0;
  virtual ViewDesc view_desc(ShaderResourceView) const = 0;
  virtual ViewDesc view_desc(UnorderedAccessView) const = 0;
  virtual ViewDesc view_desc(RenderTargetView) const = 0;

  // Compute stage.
  virtual void cs_set_shader(Shader) = 0;
  virtual void cs_set_shader_resources(int start, std::span<const ShaderResourceView>) = 0;
  virtual void cs_set_unordered_access_views(int start, std::span<const UnorderedAccessView>) = 0;
  virtual void cs_set_constant_buffers(int start, std::span<const Buffer>) = 0;
  virtual void cs_set_samplers(int start, std::span<const Sampler>) = 0;
  virtual void dispatch(uint32_t x, uint32_t y, uint32_t z) = 0;

  // Vertex, pixel and output stages. The only topology is a triangle list.
  virtual void vs_set_shader(Shader) = 0;
  virtual void vs_set_samplers(int start, std::span<const Sampler>) = 0;
  virtual void ps_set_shader(Shader) = 0;
  virtual void ps_set_shader_resources(int start, std::span<const ShaderResourceView>) = 0;
  virtual void ps_set_constant_buffers(int start, std::span<const Buffer>) = 0;
  virtual void ps_set_samplers(int start, std::span<const Sampler>) = 0;
  virtual void ia_set_triangle_list() = 0;
  virtual void rs_set_viewport(const Viewport&) = 0;
  virtual void om_set_render_target(RenderTargetView) = 0;  // null unbinds
  virtual void om_set_blend_state(BlendState) = 0;          // null = no blending
  virtual void draw(uint32_t vertex_count, uint32_t first_vertex) = 0;

  // Replaces a whole constant buffer, or level 0 of a texture from tightly or
  // loosely packed rows (row_pitch bytes apart).
  virtual void update_subresource(Buffer, std::span<const uint8_t> data) = 0;
  virtual void update_subresource(Texture, std::span<const uint8_t> data, uint32_t row_pitch) = 0;

  // Shows the back buffer and ends the frame. Headless, or with timing on,
  // every command so far has run when this returns. In a window it is paced
  // by the display with at most one frame queued ahead of it, by a blocking
  // wait and never a sleep: Direct3D 11 blocks inside Present while a frame
  // is still queued and does not wait for the GPU itself; Vulkan waits for
  // the frame's fence.
  virtual void present(int sync_interval) = 0;

  // Runs everything recorded so far and waits for it, without presenting.
  virtual void flush() = 0;

  // Headless read-back of level `mip` of a texture, finished work only (call
  // after present). RGBA8 comes back as bytes, RGBA16F as floats.
  virtual std::vector<uint8_t> read_rgba8(Texture) = 0;
  virtual std::vector<float> read_rgba16f(Texture, int mip) = 0;

  // Per-pass GPU times of the last presented frame (empty unless timing was
  // requested at creation).
  virtual std::vector<PassTiming> last_frame_timings() const = 0;

  // Validation messages seen since creation; nullopt where validation does
  // not run (not asked for, or no layer to run it, as under Wine), which is
  // not the same as none seen.
  virtual std::optional<int> validation_message_count() const = 0;

  // Name of the physical device in use ("llvmpipe ..." on lavapipe).
  virtual std::string adapter_name() const = 0;

  // The largest width or height of a texture on this device; a larger one
  // (the back buffer included) is refused at creation.
  virtual int max_image_side() const = 0;
};

struct DeviceDesc {
  int width = 0;  // back buffer size
  int height = 0;
  // The window to present into, as the window layer hands it out
  // (Window::native_handle: an SDL_Window* on Linux, an HWND on Windows);
  // null: headless, the back buffer is read back.
  void* window = nullptr;
  bool validation = false;  // Khronos validation with synchronization checks
  bool timing = false;      // timestamp queries around every pass
};

// Creates the device, or returns null with a message that says what is
// missing (no Vulkan loader, no device, a window without a surface). Where
// the platform reports its own failure code (an HRESULT on Direct3D 11) it
// goes to `platform_status`, which stays untouched otherwise.
std::unique_ptr<Device> create_device(const DeviceDesc&, std::string* error, int32_t* platform_status = nullptr);

// Why a back buffer of this size could not be made: "cannot create a WxH
// back buffer", and the device's limit when the size is beyond it.
std::string back_buffer_failure(int width, int height, int max_image_side);

// Bytes of one RGBA16F texel value, for callers that upload float images.
uint16_t float_to_half(float);
float half_to_float(uint16_t);
// Read-back bytes of RGBA16F texels as floats, two bytes a value.
std::vector<float> halves_to_floats(std::span<const uint8_t> bytes);

}  // namespace gpu
