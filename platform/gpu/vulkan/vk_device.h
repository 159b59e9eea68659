#pragma once
// The Vulkan 1.3 backend of the GPU layer.
//
// How the Direct3D-shaped interface maps onto Vulkan:
//   - one command buffer per frame, begun lazily and submitted by present();
//   - every image lives in the GENERAL layout (moved there at creation), so
//     views can be read, written and rendered to without layout tracking;
//   - a full memory barrier precedes every dispatch, draw, upload and copy,
//     which gives each pass exactly what the passes before it wrote;
//   - descriptors are pushed (VK_KHR_push_descriptor) from the slots a
//     program uses, read out of its SPIR-V, so there are no descriptor pools;
//   - draws are single-attachment dynamic-rendering instances that load and
//     store the target, one per draw;
//   - pipelines are created once per program (and per blend state and target
//     format for pixel programs) and cached.

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gpu/gpu.h"
#include "platform/gpu/spirv_reflect.h"

struct SDL_Window;

namespace gpu::vk {

// Register-shift bases of the build: b#, t#, s#, u# -> binding base + #.
constexpr uint32_t kCbufferBase = 0;
constexpr uint32_t kTextureBase = 16;
constexpr uint32_t kSamplerBase = 32;
constexpr uint32_t kUavBase = 48;
constexpr int kSlots = 16;

struct ImageRecord {
  TextureDesc desc;
  VkImage image = VK_NULL_HANDLE;
  VkDeviceMemory memory = VK_NULL_HANDLE;
};

struct ViewRecord {
  ViewDesc desc;
  VkImageView view = VK_NULL_HANDLE;
};

struct BufferRecord {
  VkBuffer buffer = VK_NULL_HANDLE;
  VkDeviceMemory memory = VK_NULL_HANDLE;
  uint32_t size = 0;
};

struct ShaderRecord {
  Stage stage = Stage::Compute;
  std::string label;
  VkShaderModule module = VK_NULL_HANDLE;
  SpirvInfo info;
  VkPipeline compute_pipeline = VK_NULL_HANDLE;
  VkDescriptorSetLayout set_layout = VK_NULL_HANDLE;
  VkPipelineLayout layout = VK_NULL_HANDLE;
};

// What one stage has bound, slot by slot (0 = null).
struct StageSlots {
  std::array<uint32_t, kSlots> srv{};
  std::array<uint32_t, kSlots> uav{};
  std::array<uint32_t, kSlots> cbuffer{};
  std::array<uint32_t, kSlots> sampler{};
};

struct Staging {
  VkBuffer buffer = VK_NULL_HANDLE;
  VkDeviceMemory memory = VK_NULL_HANDLE;
};

struct Swapchain {
  SDL_Window* window = nullptr;
  VkSurfaceKHR surface = VK_NULL_HANDLE;
  VkSurfaceFormatKHR format{};
  VkSwapchainKHR swapchain = VK_NULL_HANDLE;
  std::vector<VkImage> images;
  VkExtent2D extent{};
  VkSemaphore acquired = VK_NULL_HANDLE;
  VkSemaphore rendered = VK_NULL_HANDLE;
  bool out_of_date = false;  // to be made again at the window's size before the next frame
};

class VulkanDevice final : public Device {
 public:
  VulkanDevice() = default;
  ~VulkanDevice() override;

  bool init(const DeviceDesc& desc, std::string* error);

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

  void cs_set_shader(Shader s) override { compute_shader_ = s.id; }
  void cs_set_shader_resources(int start, std::span<const ShaderResourceView> v) override;
  void cs_set_unordered_access_views(int start, std::span<const UnorderedAccessView> v) override;
  void cs_set_constant_buffers(int start, std::span<const Buffer> v) override;
  void cs_set_samplers(int start, std::span<const Sampler> v) override;
  void dispatch(uint32_t x, uint32_t y, uint32_t z) override;

  void vs_set_shader(Shader s) override { vertex_shader_ = s.id; }
  void vs_set_samplers(int start, std::span<const Sampler> v) override;
  void ps_set_shader(Shader s) override { pixel_shader_ = s.id; }
  void ps_set_shader_resources(int start, std::span<const ShaderResourceView> v) override;
  void ps_set_constant_buffers(int start, std::span<const Buffer> v) override;
  void ps_set_samplers(int start, std::span<const Sampler> v) override;
  void ia_set_triangle_list() override {}
  void rs_set_viewport(const Viewport& v) override { viewport_ = v; }
  void om_set_render_target(RenderTargetView v) override { render_target_ = v.id; }
  void om_set_blend_state(BlendState b) override { blend_ = b.id; }
  void draw(uint32_t vertex_count, uint32_t first_vertex) override;

  void update_subresource(Buffer, std::span<const uint8_t> data) override;
  void update_subresource(Texture, std::span<const uint8_t> data, uint32_t row_pitch) override;

  void present(int sync_interval) override;
  void flush() override { submit_and_wait(VK_NULL_HANDLE, VK_NULL_HANDLE); }

  std::vector<uint8_t> read_rgba8(Texture) override;
  std::vector<float> read_rgba16f(Texture, int mip) override;
  std::vector<PassTiming> last_frame_timings() const override { return timings_; }
  std::optional<int> validation_message_count() const override {
    return messenger_ ? std::optional<int>(validation_messages_) : std::nullopt;
  }
  std::string adapter_name() const override { return adapter_name_; }
  int max_image_side() const override { return max_image_side_; }

  // Called by the debug messenger.
  void count_validation_message() { ++validation_messages_; }

 private:
  // vk_setup.cpp
  bool create_instance(const DeviceDesc&, std::string* error);
  bool pick_physical_device(std::string* error);
  bool create_logical_device(std::string* error);
  bool create_frame_objects(std::string* error);
  // vk_resources.cpp
  bool allocate(const VkMemoryRequirements&, VkMemoryPropertyFlags, VkDeviceMemory* out);
  VkImageView make_view(const ImageRecord&, const ViewDesc&);
  Staging make_staging(VkDeviceSize size, const void* data);
  void create_dummies();
  template <typename Handle>
  ViewDesc view_desc_of(const std::vector<ViewRecord>& views, Handle h) const;
  std::vector<uint8_t> read_level(Texture, int mip, uint32_t texel_bytes);
  // vk_programs.cpp
  bool build_layout(ShaderRecord&, const std::vector<uint32_t>& bindings);
  VkPipeline graphics_pipeline(uint32_t vs, uint32_t ps, uint32_t blend, VkFormat format);
  // vk_commands.cpp
  VkCommandBuffer commands();
  void full_barrier();
  void push_descriptors(VkPipelineBindPoint, const ShaderRecord&, const StageSlots&);
  void write_timestamp_begin();
  void write_timestamp_end(const std::string& label);
  void submit_and_wait(VkSemaphore wait, VkSemaphore signal);
  void collect_timings();
  // vk_present.cpp
  bool create_swapchain(SDL_Window* window, std::string* error);
  bool build_swapchain();
  VkResult acquire_image(uint32_t* index);
  bool window_resized() const;
  void blit_to_swapchain(uint32_t index);

  VkInstance instance_ = VK_NULL_HANDLE;
  VkDebugUtilsMessengerEXT messenger_ = VK_NULL_HANDLE;
  VkPhysicalDevice physical_ = VK_NULL_HANDLE;
  VkDevice device_ = VK_NULL_HANDLE;
  VkQueue queue_ = VK_NULL_HANDLE;
  uint32_t queue_family_ = 0;
  VkPhysicalDeviceMemoryProperties memory_props_{};
  float timestamp_period_ = 1.0f;
  std::string adapter_name_;
  int max_image_side_ = 0;
  PFN_vkCmdPushDescriptorSetKHR push_descriptor_set_ = nullptr;

  VkCommandPool pool_ = VK_NULL_HANDLE;
  VkCommandBuffer cmd_ = VK_NULL_HANDLE;
  bool recording_ = false;
  VkFence fence_ = VK_NULL_HANDLE;
  VkQueryPool queries_ = VK_NULL_HANDLE;
  uint32_t query_count_ = 0;
  std::vector<std::string> query_labels_;
  std::vector<PassTiming> timings_;
  bool timing_ = false;
  bool windowed_ = false;
  std::vector<Staging> staging_in_flight_;
  VkDeviceSize staging_bytes_ = 0;

  std::vector<ImageRecord> images_{1};  // index 0 is the null handle
  std::vector<ViewRecord> srvs_{1}, uavs_{1}, rtvs_{1};
  std::vector<BufferRecord> buffers_{1};
  std::vector<ShaderRecord> shaders_{1};
  std::vector<VkSampler> samplers_{VK_NULL_HANDLE};
  std::vector<BlendDesc> blends_{BlendDesc{}};
  std::map<std::tuple<uint32_t, uint32_t, uint32_t, VkFormat>, VkPipeline> graphics_pipelines_;

  // Stand-ins for null slots, so a program never reads an unwritten descriptor.
  uint32_t dummy_srv_ = 0;
  uint32_t dummy_sampler_ = 0;
  uint32_t dummy_buffer_ = 0;

  StageSlots compute_, vertex_, pixel_;
  uint32_t compute_shader_ = 0, vertex_shader_ = 0, pixel_shader_ = 0;
  uint32_t render_target_ = 0;
  uint32_t blend_ = 0;
  Viewport viewport_{};

  Texture back_buffer_{};
  Swapchain swapchain_;
  int validation_messages_ = 0;
};

VkFormat to_vk(Format f);
uint32_t texel_bytes(Format f);

}  // namespace gpu::vk
