// Presentation: a FIFO swapchain on the SDL window (FIFO is sync interval 1),
// or, headless, just the end of the frame.
//
// The back buffer is an RGBA8 storage image of our own, because a swapchain
// image can rarely be written by compute kernels; presenting blits it into
// the acquired swapchain image.
#include <SDL.h>
#include <SDL_vulkan.h>

#include <algorithm>

#include "platform/gpu/vulkan/vk_device.h"

namespace gpu::vk {

namespace {

VkSurfaceFormatKHR choose_format(VkPhysicalDevice device, VkSurfaceKHR surface) {
  uint32_t count = 0;
  vkGetPhysicalDeviceSurfaceFormatsKHR(device, surface, &count, nullptr);
  std::vector<VkSurfaceFormatKHR> formats(count);
  vkGetPhysicalDeviceSurfaceFormatsKHR(device, surface, &count, formats.data());
  for (const auto& f : formats)
    if (f.format == VK_FORMAT_B8G8R8A8_UNORM || f.format == VK_FORMAT_R8G8B8A8_UNORM) return f;
  return formats.empty() ? VkSurfaceFormatKHR{VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR}
                         : formats[0];
}

VkImageMemoryBarrier layout_change(VkImage image, VkImageLayout from, VkImageLayout to) {
  VkImageMemoryBarrier b{VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER};
  b.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
  b.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
  b.oldLayout = from;
  b.newLayout = to;
  b.srcQueueFamilyIndex = b.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
  b.image = image;
  b.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
  return b;
}

}  // namespace

bool VulkanDevice::create_swapchain(SDL_Window* window, std::string* error) {
  if (!SDL_Vulkan_CreateSurface(window, instance_, &swapchain_.surface)) {
    *error = std::string("cannot create a Vulkan surface for the window: ") + SDL_GetError();
    return false;
  }
  swapchain_.window = window;
  VkSemaphoreCreateInfo sem{VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO};
  vkCreateSemaphore(device_, &sem, nullptr, &swapchain_.acquired);
  vkCreateSemaphore(device_, &sem, nullptr, &swapchain_.rendered);
  return build_swapchain(error);
}

// Made at the window's present size, and again whenever that changes (the
// intro's window never does; a resizable window does).
bool VulkanDevice::build_swapchain(std::string* error) {
  VkBool32 supported = VK_FALSE;
  vkGetPhysicalDeviceSurfaceSupportKHR(physical_, queue_family_, swapchain_.surface, &supported);
  VkSurfaceCapabilitiesKHR caps;
  vkGetPhysicalDeviceSurfaceCapabilitiesKHR(physical_, swapchain_.surface, &caps);
  if (!supported || !(caps.supportedUsageFlags & VK_IMAGE_USAGE_TRANSFER_DST_BIT)) {
    *error = "the Vulkan device cannot present to this window";
    return false;
  }
  int w = 0, h = 0;
  SDL_Vulkan_GetDrawableSize(swapchain_.window, &w, &h);
  swapchain_.extent = caps.currentExtent.width != UINT32_MAX
                          ? caps.currentExtent
                          : VkExtent2D{static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
  VkSurfaceFormatKHR format = choose_format(physical_, swapchain_.surface);
  VkSwapchainKHR old = swapchain_.swapchain;
  VkSwapchainCreateInfoKHR info{VK_STRUCTURE_TYPE_SWAPCHAIN_CREATE_INFO_KHR};
  info.surface = swapchain_.surface;
  info.minImageCount = std::max(2u, caps.minImageCount);
  if (caps.maxImageCount) info.minImageCount = std::min(info.minImageCount, caps.maxImageCount);
  info.imageFormat = format.format;
  info.imageColorSpace = format.colorSpace;
  info.imageExtent = swapchain_.extent;
  info.imageArrayLayers = 1;
  info.imageUsage = VK_IMAGE_USAGE_TRANSFER_DST_BIT;
  info.imageSharingMode = VK_SHARING_MODE_EXCLUSIVE;
  info.preTransform = caps.currentTransform;
  info.compositeAlpha = VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR;
  info.presentMode = VK_PRESENT_MODE_FIFO_KHR;  // always supported; waits for the vertical blank
  info.clipped = VK_TRUE;
  info.oldSwapchain = old;
  swapchain_.swapchain = VK_NULL_HANDLE;
  swapchain_.images.clear();
  swapchain_.stale = false;
  const bool made = swapchain_.extent.width > 0 && swapchain_.extent.height > 0 &&
                    vkCreateSwapchainKHR(device_, &info, nullptr, &swapchain_.swapchain) == VK_SUCCESS;
  if (old) vkDestroySwapchainKHR(device_, old, nullptr);
  if (!made) {
    swapchain_.swapchain = VK_NULL_HANDLE;
    *error = "cannot create the Vulkan swapchain";
    return false;
  }
  uint32_t count = 0;
  vkGetSwapchainImagesKHR(device_, swapchain_.swapchain, &count, nullptr);
  swapchain_.images.resize(count);
  vkGetSwapchainImagesKHR(device_, swapchain_.swapchain, &count, swapchain_.images.data());
  return true;
}

// An image to present into. A swapchain that no longer fits the window is
// made again first; false when there is none to be had (a minimised window).
bool VulkanDevice::acquire(uint32_t* index) {
  std::string ignored;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (swapchain_.stale || !swapchain_.swapchain) {
      vkDeviceWaitIdle(device_);
      if (!build_swapchain(&ignored)) return false;
    }
    VkResult got = vkAcquireNextImageKHR(device_, swapchain_.swapchain, UINT64_MAX, swapchain_.acquired,
                                         VK_NULL_HANDLE, index);
    if (got == VK_SUBOPTIMAL_KHR) swapchain_.stale = true;  // this image still presents
    if (got == VK_SUCCESS || got == VK_SUBOPTIMAL_KHR) return true;
    if (got != VK_ERROR_OUT_OF_DATE_KHR) return false;
    swapchain_.stale = true;
  }
  return false;
}

void VulkanDevice::blit_to_swapchain(uint32_t index) {
  VkImage target = swapchain_.images[index];
  const ImageRecord& source = images_[back_buffer_.id];
  VkCommandBuffer cmd = commands();
  VkImageMemoryBarrier to_dst = layout_change(target, VK_IMAGE_LAYOUT_UNDEFINED,
                                              VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL);
  VkMemoryBarrier written{VK_STRUCTURE_TYPE_MEMORY_BARRIER};
  written.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
  written.dstAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0,
                       1, &written, 0, nullptr, 1, &to_dst);
  VkImageBlit region{};
  region.srcSubresource = region.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
  region.srcOffsets[1] = {source.desc.width, source.desc.height, 1};
  region.dstOffsets[1] = {static_cast<int32_t>(swapchain_.extent.width),
                          static_cast<int32_t>(swapchain_.extent.height), 1};
  vkCmdBlitImage(cmd, source.image, VK_IMAGE_LAYOUT_GENERAL, target,
                 VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region, VK_FILTER_NEAREST);
  VkImageMemoryBarrier to_present = layout_change(target, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                                                  VK_IMAGE_LAYOUT_PRESENT_SRC_KHR);
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, 0,
                       0, nullptr, 0, nullptr, 1, &to_present);
}

void VulkanDevice::present(int) {
  uint32_t index = 0;
  if (!swapchain_.window || !acquire(&index)) {
    submit_and_wait(VK_NULL_HANDLE, VK_NULL_HANDLE);
    return;
  }
  blit_to_swapchain(index);
  submit_and_wait(swapchain_.acquired, swapchain_.rendered);
  VkPresentInfoKHR info{VK_STRUCTURE_TYPE_PRESENT_INFO_KHR};
  info.waitSemaphoreCount = 1;
  info.pWaitSemaphores = &swapchain_.rendered;
  info.swapchainCount = 1;
  info.pSwapchains = &swapchain_.swapchain;
  info.pImageIndices = &index;
  const VkResult shown = vkQueuePresentKHR(queue_, &info);
  if (shown == VK_SUBOPTIMAL_KHR || shown == VK_ERROR_OUT_OF_DATE_KHR) swapchain_.stale = true;
}

}  // namespace gpu::vk
