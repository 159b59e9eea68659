// Images, views, buffers, samplers, blend states, uploads and read-back.
#include <cstdio>
#include <cstring>

#include "platform/gpu/vulkan/vk_device.h"

namespace gpu::vk {

namespace {

// Flush uploads once this much staging memory waits for the GPU, so loading
// all the images at start-up never holds them twice in memory.
constexpr VkDeviceSize kStagingFlushBytes = 128u << 20;

uint32_t levels(int n) { return n <= 0 ? 1u : static_cast<uint32_t>(n); }

VkImageUsageFlags usage_of(uint32_t bind) {
  VkImageUsageFlags usage = VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT |
                            VK_IMAGE_USAGE_TRANSFER_DST_BIT;
  if (bind & kBindUnorderedAccess) usage |= VK_IMAGE_USAGE_STORAGE_BIT;
  if (bind & kBindRenderTarget) usage |= VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;
  return usage;
}

VkImageSubresourceRange all_levels(uint32_t count) { return {VK_IMAGE_ASPECT_COLOR_BIT, 0, count, 0, 1}; }

VkSamplerAddressMode to_vk(AddressMode m) {
  switch (m) {
    case AddressMode::Border: return VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_BORDER;
    case AddressMode::Wrap: return VK_SAMPLER_ADDRESS_MODE_REPEAT;
    default: return VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
  }
}

// Moves one level between GENERAL and a transfer layout, ordered after and
// before everything else.
void change_layout(VkCommandBuffer cmd, VkImage image, int mip, VkImageLayout from, VkImageLayout to) {
  VkImageMemoryBarrier b{VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER};
  b.srcAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
  b.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
  b.oldLayout = from;
  b.newLayout = to;
  b.srcQueueFamilyIndex = b.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
  b.image = image;
  b.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, static_cast<uint32_t>(mip), 1, 0, 1};
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0, nullptr,
                       0, nullptr, 1, &b);
}

}  // namespace

VkFormat to_vk(Format f) {
  return f == Format::RGBA16F ? VK_FORMAT_R16G16B16A16_SFLOAT : VK_FORMAT_R8G8B8A8_UNORM;
}

uint32_t texel_bytes(Format f) { return f == Format::RGBA16F ? 8 : 4; }

bool VulkanDevice::allocate(const VkMemoryRequirements& req, VkMemoryPropertyFlags props, VkDeviceMemory* out) {
  for (uint32_t i = 0; i < memory_props_.memoryTypeCount; ++i) {
    if (!(req.memoryTypeBits & (1u << i))) continue;
    if ((memory_props_.memoryTypes[i].propertyFlags & props) != props) continue;
    VkMemoryAllocateInfo info{VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO};
    info.allocationSize = req.size;
    info.memoryTypeIndex = i;
    return vkAllocateMemory(device_, &info, nullptr, out) == VK_SUCCESS;
  }
  return false;
}

Texture VulkanDevice::create_texture(const TextureDesc& desc) {
  ImageRecord rec{desc, VK_NULL_HANDLE, VK_NULL_HANDLE};
  rec.desc.mip_levels = static_cast<int>(levels(desc.mip_levels));
  VkImageCreateInfo info{VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO};
  info.imageType = VK_IMAGE_TYPE_2D;
  info.format = to_vk(desc.format);
  info.extent = {static_cast<uint32_t>(desc.width), static_cast<uint32_t>(desc.height), 1};
  info.mipLevels = levels(desc.mip_levels);
  info.arrayLayers = 1;
  info.samples = VK_SAMPLE_COUNT_1_BIT;
  info.tiling = VK_IMAGE_TILING_OPTIMAL;
  info.usage = usage_of(desc.bind);
  info.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
  VkMemoryRequirements req;
  // Lavapipe makes images beyond the limit without complaint and then draws
  // into memory it should not; Direct3D refuses them, and so does this.
  if (desc.width <= 0 || desc.height <= 0 || desc.width > max_image_side_ || desc.height > max_image_side_ ||
      vkCreateImage(device_, &info, nullptr, &rec.image) != VK_SUCCESS ||
      (vkGetImageMemoryRequirements(device_, rec.image, &req),
       !allocate(req, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, &rec.memory)) ||
      vkBindImageMemory(device_, rec.image, rec.memory, 0) != VK_SUCCESS) {
    failures_.report("cannot create texture " + std::string(desc.label ? desc.label : "") + " (" +
                     std::to_string(desc.width) + "x" + std::to_string(desc.height) + ")");
    if (rec.image) vkDestroyImage(device_, rec.image, nullptr);
    return {};
  }
  // Everything lives in GENERAL from here on; new textures start out zeroed
  // so a pass that reads one before anything wrote it sees a defined black.
  VkImageMemoryBarrier to_general{VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER};
  to_general.srcAccessMask = 0;
  to_general.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
  to_general.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
  to_general.newLayout = VK_IMAGE_LAYOUT_GENERAL;
  to_general.srcQueueFamilyIndex = to_general.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
  to_general.image = rec.image;
  to_general.subresourceRange = all_levels(info.mipLevels);
  vkCmdPipelineBarrier(commands(), VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0,
                       nullptr, 0, nullptr, 1, &to_general);
  VkClearColorValue zero{};
  VkImageSubresourceRange range = all_levels(info.mipLevels);
  vkCmdClearColorImage(cmd_, rec.image, VK_IMAGE_LAYOUT_GENERAL, &zero, 1, &range);
  images_.push_back(rec);
  return Texture{static_cast<uint32_t>(images_.size() - 1)};
}

VkImageView VulkanDevice::make_view(const ImageRecord& image, const ViewDesc& desc) {
  VkImageViewCreateInfo info{VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO};
  info.image = image.image;
  info.viewType = VK_IMAGE_VIEW_TYPE_2D;
  info.format = to_vk(image.desc.format);
  info.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, static_cast<uint32_t>(desc.most_detailed_mip),
                           levels(desc.mip_levels), 0, 1};
  VkImageView view = VK_NULL_HANDLE;
  if (vkCreateImageView(device_, &info, nullptr, &view) != VK_SUCCESS) return VK_NULL_HANDLE;
  return view;
}

namespace {
template <typename Handle>
Handle add_view(std::vector<ViewRecord>& views, ViewDesc desc, VkImageView view, const ImageRecord& image,
                CreationFailures& failures) {
  if (!view) {
    failures.report(std::string("cannot create a view of texture ") + (image.desc.label ? image.desc.label : ""));
    return {};
  }
  desc.mip_levels = static_cast<int>(levels(desc.mip_levels));
  views.push_back({desc, view});
  return Handle{static_cast<uint32_t>(views.size() - 1)};
}
}  // namespace

ShaderResourceView VulkanDevice::create_srv(const ViewDesc& d) {
  if (d.texture.id >= images_.size() || !d.texture) return {};
  return add_view<ShaderResourceView>(srvs_, d, make_view(images_[d.texture.id], d), images_[d.texture.id],
                                      failures_);
}

UnorderedAccessView VulkanDevice::create_uav(const ViewDesc& d) {
  if (d.texture.id >= images_.size() || !d.texture) return {};
  ViewDesc one = d;
  one.mip_levels = 1;
  return add_view<UnorderedAccessView>(uavs_, one, make_view(images_[d.texture.id], one), images_[d.texture.id],
                                       failures_);
}

RenderTargetView VulkanDevice::create_rtv(const ViewDesc& d) {
  if (d.texture.id >= images_.size() || !d.texture) return {};
  ViewDesc one = d;
  one.mip_levels = 1;
  return add_view<RenderTargetView>(rtvs_, one, make_view(images_[d.texture.id], one), images_[d.texture.id],
                                    failures_);
}

Buffer VulkanDevice::create_buffer(const BufferDesc& desc) {
  BufferRecord rec;
  rec.size = desc.byte_width;
  VkBufferCreateInfo info{VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO};
  info.size = desc.byte_width;
  info.usage = VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;
  VkMemoryRequirements req;
  if (desc.byte_width == 0 || desc.byte_width % 4 != 0 ||
      vkCreateBuffer(device_, &info, nullptr, &rec.buffer) != VK_SUCCESS ||
      (vkGetBufferMemoryRequirements(device_, rec.buffer, &req),
       !allocate(req, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, &rec.memory)) ||
      vkBindBufferMemory(device_, rec.buffer, rec.memory, 0) != VK_SUCCESS) {
    failures_.report("cannot create the " + std::to_string(desc.byte_width) + "-byte constant buffer " +
                     (desc.label ? desc.label : ""));
    if (rec.buffer) vkDestroyBuffer(device_, rec.buffer, nullptr);
    return {};
  }
  vkCmdFillBuffer(commands(), rec.buffer, 0, VK_WHOLE_SIZE, 0);
  buffers_.push_back(rec);
  return Buffer{static_cast<uint32_t>(buffers_.size() - 1)};
}

Sampler VulkanDevice::create_sampler(const SamplerDesc& desc) {
  VkSamplerCreateInfo info{VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO};
  info.magFilter = info.minFilter = VK_FILTER_LINEAR;
  info.mipmapMode = VK_SAMPLER_MIPMAP_MODE_LINEAR;
  info.addressModeU = info.addressModeV = info.addressModeW = to_vk(desc.address);
  info.maxLod = VK_LOD_CLAMP_NONE;
  info.borderColor = VK_BORDER_COLOR_FLOAT_TRANSPARENT_BLACK;
  VkSampler sampler = VK_NULL_HANDLE;
  if (vkCreateSampler(device_, &info, nullptr, &sampler) != VK_SUCCESS) {
    failures_.report("cannot create a sampler");
    return {};
  }
  samplers_.push_back(sampler);
  return Sampler{static_cast<uint32_t>(samplers_.size() - 1)};
}

BlendState VulkanDevice::create_blend_state(const BlendDesc& desc) {
  blends_.push_back(desc);
  return BlendState{static_cast<uint32_t>(blends_.size() - 1)};
}

void VulkanDevice::create_dummies() {
  Texture t = create_texture(
      {.width = 1, .height = 1, .format = Format::RGBA16F, .bind = kBindShaderResource, .label = "null"});
  dummy_srv_ = create_srv({.texture = t}).id;
  dummy_sampler_ = create_sampler({}).id;
  dummy_buffer_ = create_buffer({.byte_width = 256, .label = "null"}).id;
}

TextureDesc VulkanDevice::texture_desc(Texture t) const {
  return t.id < images_.size() ? images_[t.id].desc : TextureDesc{};
}

template <typename Handle>
ViewDesc VulkanDevice::view_desc_of(const std::vector<ViewRecord>& views, Handle h) const {
  return h.id < views.size() ? views[h.id].desc : ViewDesc{};
}

ViewDesc VulkanDevice::view_desc(ShaderResourceView v) const { return view_desc_of(srvs_, v); }
ViewDesc VulkanDevice::view_desc(UnorderedAccessView v) const { return view_desc_of(uavs_, v); }
ViewDesc VulkanDevice::view_desc(RenderTargetView v) const { return view_desc_of(rtvs_, v); }

Staging VulkanDevice::make_staging(VkDeviceSize size, const void* data) {
  Staging s;
  VkBufferCreateInfo info{VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO};
  info.size = size;
  info.usage = VK_BUFFER_USAGE_TRANSFER_SRC_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;
  VkMemoryRequirements req;
  if (vkCreateBuffer(device_, &info, nullptr, &s.buffer) != VK_SUCCESS) return {};
  vkGetBufferMemoryRequirements(device_, s.buffer, &req);
  if (!allocate(req, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT, &s.memory)) {
    vkDestroyBuffer(device_, s.buffer, nullptr);
    return {};
  }
  vkBindBufferMemory(device_, s.buffer, s.memory, 0);
  if (data) {
    void* mapped = nullptr;
    vkMapMemory(device_, s.memory, 0, size, 0, &mapped);
    std::memcpy(mapped, data, size);
    vkUnmapMemory(device_, s.memory);
  }
  return s;
}

void VulkanDevice::update_subresource(Buffer b, std::span<const uint8_t> data) {
  if (!b || b.id >= buffers_.size()) return;
  const BufferRecord& rec = buffers_[b.id];
  size_t n = std::min<size_t>(data.size(), rec.size) & ~size_t{3};
  if (n == 0) return;
  full_barrier();
  vkCmdUpdateBuffer(commands(), rec.buffer, 0, n, data.data());
}

void VulkanDevice::update_subresource(Texture t, std::span<const uint8_t> data, uint32_t row_pitch) {
  if (!t || t.id >= images_.size()) return;
  const ImageRecord& rec = images_[t.id];
  uint32_t bpp = texel_bytes(rec.desc.format);
  VkDeviceSize need = VkDeviceSize(row_pitch) * (rec.desc.height - 1) + VkDeviceSize(rec.desc.width) * bpp;
  if (row_pitch % bpp != 0 || data.size() < need) {
    std::fprintf(stderr, "gpu: upload to %s is smaller than the texture\n",
                 rec.desc.label ? rec.desc.label : "a texture");
    return;
  }
  Staging s = make_staging(need, data.data());
  if (!s.buffer) return;
  staging_in_flight_.push_back(s);
  staging_bytes_ += need;
  VkBufferImageCopy region{};
  region.bufferRowLength = row_pitch / bpp;
  region.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
  region.imageExtent = {static_cast<uint32_t>(rec.desc.width), static_cast<uint32_t>(rec.desc.height), 1};
  // Copies land in TRANSFER_DST_OPTIMAL: a copy into GENERAL draws a
  // performance warning from the validation layer.
  VkCommandBuffer cmd = commands();
  change_layout(cmd, rec.image, 0, VK_IMAGE_LAYOUT_GENERAL, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL);
  vkCmdCopyBufferToImage(cmd, s.buffer, rec.image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region);
  change_layout(cmd, rec.image, 0, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, VK_IMAGE_LAYOUT_GENERAL);
  if (staging_bytes_ >= kStagingFlushBytes) submit_and_wait(VK_NULL_HANDLE, VK_NULL_HANDLE);
}

std::vector<uint8_t> VulkanDevice::read_level(Texture t, int mip, uint32_t bpp) {
  if (!t || t.id >= images_.size() || mip < 0 || mip >= images_[t.id].desc.mip_levels) return {};
  const ImageRecord& rec = images_[t.id];
  uint32_t w = std::max(1, rec.desc.width >> mip), h = std::max(1, rec.desc.height >> mip);
  VkDeviceSize size = VkDeviceSize(w) * h * bpp;
  Staging s = make_staging(size, nullptr);
  if (!s.buffer) return {};

  // Copies go out of TRANSFER_SRC_OPTIMAL: a copy out of GENERAL draws a
  // performance warning from the validation layer.
  VkCommandBuffer cmd = commands();
  change_layout(cmd, rec.image, mip, VK_IMAGE_LAYOUT_GENERAL, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL);
  VkBufferImageCopy region{};
  region.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, static_cast<uint32_t>(mip), 0, 1};
  region.imageExtent = {w, h, 1};
  vkCmdCopyImageToBuffer(cmd, rec.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, s.buffer, 1, &region);
  change_layout(cmd, rec.image, mip, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_IMAGE_LAYOUT_GENERAL);
  VkBufferMemoryBarrier to_host{VK_STRUCTURE_TYPE_BUFFER_MEMORY_BARRIER};
  to_host.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
  to_host.dstAccessMask = VK_ACCESS_HOST_READ_BIT;
  to_host.srcQueueFamilyIndex = to_host.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
  to_host.buffer = s.buffer;
  to_host.size = VK_WHOLE_SIZE;
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_HOST_BIT, 0, 0, nullptr, 1, &to_host,
                       0, nullptr);
  submit_and_wait(VK_NULL_HANDLE, VK_NULL_HANDLE);

  std::vector<uint8_t> out(size);
  void* mapped = nullptr;
  vkMapMemory(device_, s.memory, 0, size, 0, &mapped);
  std::memcpy(out.data(), mapped, size);
  vkUnmapMemory(device_, s.memory);
  vkDestroyBuffer(device_, s.buffer, nullptr);
  vkFreeMemory(device_, s.memory, nullptr);
  return out;
}

std::vector<uint8_t> VulkanDevice::read_rgba8(Texture t) {
  if (texture_desc(t).format != Format::RGBA8) return {};
  return read_level(t, 0, 4);
}

std::vector<float> VulkanDevice::read_rgba16f(Texture t, int mip) {
  if (texture_desc(t).format != Format::RGBA16F) return {};
  return halves_to_floats(read_level(t, mip, 8));
}

}  // namespace gpu::vk
