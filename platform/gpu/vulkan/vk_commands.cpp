// Binding state, dispatches, draws and the frame's command buffer.
#include <cstdio>

#include "platform/gpu/vulkan/vk_device.h"

namespace gpu::vk {

namespace {

template <typename Handle>
void set_slots(std::array<uint32_t, kSlots>& table, int start, std::span<const Handle> views) {
  for (size_t i = 0; i < views.size(); ++i) {
    size_t slot = static_cast<size_t>(start) + i;
    if (slot < table.size()) table[slot] = views[i].id;
  }
}

}  // namespace

void VulkanDevice::cs_set_shader_resources(int start, std::span<const ShaderResourceView> v) {
  set_slots(compute_.srv, start, v);
}
void VulkanDevice::cs_set_unordered_access_views(int start, std::span<const UnorderedAccessView> v) {
  set_slots(compute_.uav, start, v);
}
void VulkanDevice::cs_set_constant_buffers(int start, std::span<const Buffer> v) {
  set_slots(compute_.cbuffer, start, v);
}
void VulkanDevice::cs_set_samplers(int start, std::span<const Sampler> v) {
  set_slots(compute_.sampler, start, v);
}
void VulkanDevice::vs_set_samplers(int start, std::span<const Sampler> v) { set_slots(vertex_.sampler, start, v); }
void VulkanDevice::ps_set_shader_resources(int start, std::span<const ShaderResourceView> v) {
  set_slots(pixel_.srv, start, v);
}
void VulkanDevice::ps_set_constant_buffers(int start, std::span<const Buffer> v) {
  set_slots(pixel_.cbuffer, start, v);
}
void VulkanDevice::ps_set_samplers(int start, std::span<const Sampler> v) { set_slots(pixel_.sampler, start, v); }

VkCommandBuffer VulkanDevice::commands() {
  if (!recording_) {
    VkCommandBufferBeginInfo begin{VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO};
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(cmd_, &begin);
    recording_ = true;
    if (queries_) vkCmdResetQueryPool(cmd_, queries_, 0, 256);
    query_count_ = 0;
    query_labels_.clear();
  }
  return cmd_;
}

// Every pass sees everything every earlier pass wrote: the intro's passes
// depend on each other almost without exception, so precise barriers would
// buy nothing.
void VulkanDevice::full_barrier() {
  VkMemoryBarrier b{VK_STRUCTURE_TYPE_MEMORY_BARRIER};
  b.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
  b.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
  vkCmdPipelineBarrier(commands(), VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 1,
                       &b, 0, nullptr, 0, nullptr);
}

// Pushes one descriptor for every binding the program uses, from the slots of
// its stage; a null slot gets a harmless stand-in (an unbound read is zero).
void VulkanDevice::push_descriptors(VkPipelineBindPoint point, const ShaderRecord& program,
                                    const StageSlots& slots) {
  const auto& bindings = program.info.bindings;
  std::vector<VkWriteDescriptorSet> writes;
  std::vector<VkDescriptorImageInfo> images(bindings.size());
  std::vector<VkDescriptorBufferInfo> buffers(bindings.size());
  writes.reserve(bindings.size());
  for (size_t i = 0; i < bindings.size(); ++i) {
    uint32_t b = bindings[i];
    VkWriteDescriptorSet w{VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET};
    w.dstBinding = b;
    w.descriptorCount = 1;
    if (b >= kUavBase) {
      w.descriptorType = VK_DESCRIPTOR_TYPE_STORAGE_IMAGE;
      images[i] = {VK_NULL_HANDLE, uavs_[slots.uav[b - kUavBase]].view, VK_IMAGE_LAYOUT_GENERAL};
      w.pImageInfo = &images[i];
    } else if (b >= kSamplerBase) {
      uint32_t s = slots.sampler[b - kSamplerBase];
      w.descriptorType = VK_DESCRIPTOR_TYPE_SAMPLER;
      images[i] = {samplers_[s ? s : dummy_sampler_], VK_NULL_HANDLE, VK_IMAGE_LAYOUT_UNDEFINED};
      w.pImageInfo = &images[i];
    } else if (b >= kTextureBase) {
      uint32_t v = slots.srv[b - kTextureBase];
      w.descriptorType = VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE;
      images[i] = {VK_NULL_HANDLE, srvs_[v ? v : dummy_srv_].view, VK_IMAGE_LAYOUT_GENERAL};
      w.pImageInfo = &images[i];
    } else {
      uint32_t c = slots.cbuffer[b - kCbufferBase];
      const BufferRecord& rec = buffers_[c ? c : dummy_buffer_];
      w.descriptorType = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
      buffers[i] = {rec.buffer, 0, rec.size};
      w.pBufferInfo = &buffers[i];
    }
    writes.push_back(w);
  }
  if (!writes.empty())
    push_descriptor_set_(cmd_, point, program.layout, 0, static_cast<uint32_t>(writes.size()), writes.data());
}

namespace {
// A missing unordered-access target means the pass would write nowhere; on
// Direct3D such writes are dropped, so the pass is skipped.
bool uavs_bound(const ShaderRecord& program, const StageSlots& slots) {
  for (uint32_t b : program.info.bindings)
    if (b >= kUavBase && slots.uav[b - kUavBase] == 0) {
      std::fprintf(stderr, "gpu: %s has nothing bound at u%u; pass skipped\n", program.label.c_str(),
                   b - kUavBase);
      return false;
    }
  return true;
}
}  // namespace

void VulkanDevice::write_timestamp_begin() {
  if (!queries_ || query_count_ + 2 > 256) return;
  vkCmdWriteTimestamp(cmd_, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, queries_, query_count_);
}

void VulkanDevice::write_timestamp_end(const std::string& label) {
  if (!queries_ || query_count_ + 2 > 256) return;
  vkCmdWriteTimestamp(cmd_, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries_, query_count_ + 1);
  query_count_ += 2;
  query_labels_.push_back(label);
}

void VulkanDevice::dispatch(uint32_t x, uint32_t y, uint32_t z) {
  if (!compute_shader_ || compute_shader_ >= shaders_.size()) return;
  const ShaderRecord& program = shaders_[compute_shader_];
  if (program.stage != Stage::Compute || !uavs_bound(program, compute_)) return;
  if (x == 0 || y == 0 || z == 0) return;
  full_barrier();
  vkCmdBindPipeline(cmd_, VK_PIPELINE_BIND_POINT_COMPUTE, program.compute_pipeline);
  push_descriptors(VK_PIPELINE_BIND_POINT_COMPUTE, program, compute_);
  write_timestamp_begin();
  vkCmdDispatch(cmd_, x, y, z);
  write_timestamp_end(program.label);
}

void VulkanDevice::draw(uint32_t vertex_count, uint32_t first_vertex) {
  if (!vertex_shader_ || !pixel_shader_ || !render_target_) return;
  if (vertex_shader_ >= shaders_.size() || pixel_shader_ >= shaders_.size()) return;
  const ViewRecord& target = rtvs_[render_target_];
  const ImageRecord& image = images_[target.desc.texture.id];
  VkPipeline pipeline = graphics_pipeline(vertex_shader_, pixel_shader_, blend_, to_vk(image.desc.format));
  if (!pipeline) return;
  const ShaderRecord& program = shaders_[pixel_shader_];
  VkExtent2D extent{static_cast<uint32_t>(std::max(1, image.desc.width >> target.desc.most_detailed_mip)),
                    static_cast<uint32_t>(std::max(1, image.desc.height >> target.desc.most_detailed_mip))};

  full_barrier();
  VkRenderingAttachmentInfo color{VK_STRUCTURE_TYPE_RENDERING_ATTACHMENT_INFO};
  color.imageView = target.view;
  color.imageLayout = VK_IMAGE_LAYOUT_GENERAL;
  color.loadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
  color.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
  VkRenderingInfo rendering{VK_STRUCTURE_TYPE_RENDERING_INFO};
  rendering.renderArea = {{0, 0}, extent};
  rendering.layerCount = 1;
  rendering.colorAttachmentCount = 1;
  rendering.pColorAttachments = &color;

  write_timestamp_begin();
  vkCmdBeginRendering(cmd_, &rendering);
  vkCmdBindPipeline(cmd_, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline);
  push_descriptors(VK_PIPELINE_BIND_POINT_GRAPHICS, program, pixel_);
  VkViewport vp{viewport_.x,      viewport_.y,         viewport_.width,
                viewport_.height, viewport_.min_depth, viewport_.max_depth};
  VkRect2D scissor{{0, 0}, extent};
  vkCmdSetViewport(cmd_, 0, 1, &vp);
  vkCmdSetScissor(cmd_, 0, 1, &scissor);
  vkCmdDraw(cmd_, vertex_count, 1, first_vertex, 0);
  vkCmdEndRendering(cmd_);
  write_timestamp_end(program.label);
}

void VulkanDevice::submit_and_wait(VkSemaphore wait, VkSemaphore signal) {
  commands();
  vkEndCommandBuffer(cmd_);
  recording_ = false;
  VkPipelineStageFlags wait_stage = VK_PIPELINE_STAGE_ALL_COMMANDS_BIT;
  VkSubmitInfo submit{VK_STRUCTURE_TYPE_SUBMIT_INFO};
  submit.commandBufferCount = 1;
  submit.pCommandBuffers = &cmd_;
  submit.waitSemaphoreCount = wait ? 1 : 0;
  submit.pWaitSemaphores = &wait;
  submit.pWaitDstStageMask = &wait_stage;
  submit.signalSemaphoreCount = signal ? 1 : 0;
  submit.pSignalSemaphores = &signal;
  vkResetFences(device_, 1, &fence_);
  vkQueueSubmit(queue_, 1, &submit, fence_);
  vkWaitForFences(device_, 1, &fence_, VK_TRUE, UINT64_MAX);
  for (auto& s : staging_in_flight_) {
    vkDestroyBuffer(device_, s.buffer, nullptr);
    vkFreeMemory(device_, s.memory, nullptr);
  }
  staging_in_flight_.clear();
  staging_bytes_ = 0;
  collect_timings();
}

void VulkanDevice::collect_timings() {
  if (!queries_ || query_count_ == 0) return;
  std::vector<uint64_t> ticks(query_count_);
  vkGetQueryPoolResults(device_, queries_, 0, query_count_, ticks.size() * sizeof(uint64_t), ticks.data(),
                        sizeof(uint64_t), VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT);
  timings_.clear();
  for (size_t i = 0; i < query_labels_.size(); ++i) {
    double ns = double(ticks[2 * i + 1] - ticks[2 * i]) * timestamp_period_;
    timings_.push_back({query_labels_[i], ns / 1e6});
  }
  query_count_ = 0;
  query_labels_.clear();
}

}  // namespace gpu::vk
