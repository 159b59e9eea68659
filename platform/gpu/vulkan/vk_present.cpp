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
  swapchain_.window = window;
  if (!SDL_Vulkan_CreateSurface(window, instance_, &swapchain_.surface)) {
    *error = std::string("cannot create a Vulkan surface for the window: ") + SDL_GetError();
    return false;
  }
  VkBool32 supported = VK_FALSE;
  vkGetPhysicalDeviceSurfaceSupportKHR(physical_, queue_family_, swapchain_.surface, &supported);
  VkSurfaceCapabilitiesKHR caps;
  vkGetPhysicalDeviceSurfaceCapabilitiesKHR(physical_, swapchain_.surface, &caps);
  if (!supported || !(caps.supportedUsageFlags & VK_IMAGE_USAGE_TRANSFER_DST_BIT)) {
    *error = "the Vulkan device cannot present to this window";
    return false;
  }
  swapchain_.format = choose_format(physical_, swapchain_.surface);
  VkSemaphoreCreateInfo sem{VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO};
  vkCreateSemaphore(device_, &sem, nullptr, &swapchain_.acquired);
  vkCreateSemaphore(device_, &sem, nullptr, &swapchain_.rendered);
  if (!build_swapchain()) {
    *error = "cannot create the Vulkan swapchain";
    return false;
  }
  return true;
}

// Makes the swapchain at the window's present size, replacing the old one.
// False while there is nothing to present into (a minimised window).
bool VulkanDevice::build_swapchain() {
  VkSurfaceCapabilitiesKHR caps;
  vkGetPhysicalDeviceSurfaceCapabilitiesKHR(physical_, swapchain_.surface, &caps);
  int w = 0, h = 0;
  SDL_Vulkan_GetDrawableSize(swapchain_.window, &w, &h);
  VkExtent2D extent = caps.currentExtent.width != UINT32_MAX
                          ? caps.currentExtent
                          : VkExtent2D{static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
  if (extent.width == 0 || extent.height == 0) return false;
  VkSwapchainCreateInfoKHR info{VK_STRUCTURE_TYPE_SWAPCHAIN_CREATE_INFO_KHR};
  info.surface = swapchain_.surface;
  info.minImageCount = std::max(2u, caps.minImageCount);
  if (caps.maxImageCount) info.minImageCount = std::min(info.minImageCount, caps.maxImageCount);
  info.imageFormat = swapchain_.format.format;
  info.imageColorSpace = swapchain_.format.colorSpace;
  info.imageExtent = extent;
  info.imageArrayLayers = 1;
  info.imageUsage = VK_IMAGE_USAGE_TRANSFER_DST_BIT;
  info.imageSharingMode = VK_SHARING_MODE_EXCLUSIVE;
  info.preTransform = caps.currentTransform;
  info.compositeAlpha = VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR;
  info.presentMode = VK_PRESENT_MODE_FIFO_KHR;  // always supported; waits for the vertical blank
  info.clipped = VK_TRUE;
  info.oldSwapchain = swapchain_.swapchain;
  VkSwapchainKHR made = VK_NULL_HANDLE;
  // The old images may still be in a presentation that has not finished.
  if (swapchain_.swapchain) vkDeviceWaitIdle(device_);
  VkResult result = vkCreateSwapchainKHR(device_, &info, nullptr, &made);
  if (swapchain_.swapchain) vkDestroySwapchainKHR(device_, swapchain_.swapchain, nullptr);
  swapchain_.swapchain = result == VK_SUCCESS ? made : VK_NULL_HANDLE;
  swapchain_.images.clear();
  if (!swapchain_.swapchain) return false;
  swapchain_.extent = extent;
  uint32_t count = 0;
  vkGetSwapchainImagesKHR(device_, swapchain_.swapchain, &count, nullptr);
  swapchain_.images.resize(count);
  vkGetSwapchainImagesKHR(device_, swapchain_.swapchain, &count, swapchain_.images.data());
  swapchain_.out_of_date = false;
  return true;
}

// An image to present into. Suboptimal is success: the image is the
// window's and the blit scales to it; only when the window has changed size
// is the swapchain made again, before the next frame. Out of date makes it
// again at the window's size and tries once more.
VkResult VulkanDevice::acquire_image(uint32_t* index) {
  VkResult result = VK_ERROR_OUT_OF_DATE_KHR;
  for (int attempt = 0; attempt < 2 && result == VK_ERROR_OUT_OF_DATE_KHR; ++attempt) {
    if (swapchain_.out_of_date && !build_swapchain()) return VK_ERROR_OUT_OF_DATE_KHR;
    result = vkAcquireNextImageKHR(device_, swapchain_.swapchain, UINT64_MAX, swapchain_.acquired, VK_NULL_HANDLE,
                                   index);
    swapchain_.out_of_date = result == VK_ERROR_OUT_OF_DATE_KHR;
  }
  if (result == VK_SUBOPTIMAL_KHR && window_resized()) swapchain_.out_of_date = true;
  return result;
}

bool VulkanDevice::window_resized() const {
  int w = 0, h = 0;
  SDL_Vulkan_GetDrawableSize(swapchain_.window, &w, &h);
  return static_cast<uint32_t>(w) != swapchain_.extent.width ||
         static_cast<uint32_t>(h) != swapchain_.extent.height;
}

// The back buffer is blitted out of the transfer-source layout (out of the
// general layout the validation layer warns about performance) and left in
// the general layout again.
void VulkanDevice::blit_to_swapchain(uint32_t index) {
  VkImage target = swapchain_.images[index];
  const ImageRecord& source = images_[back_buffer_.id];
  VkCommandBuffer cmd = commands();
  const VkImageMemoryBarrier before[] = {
      layout_change(target, VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL),
      layout_change(source.image, VK_IMAGE_LAYOUT_GENERAL, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL)};
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0,
                       nullptr, 2, before);
  VkImageBlit region{};
  region.srcSubresource = region.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
  region.srcOffsets[1] = {source.desc.width, source.desc.height, 1};
  region.dstOffsets[1] = {static_cast<int32_t>(swapchain_.extent.width),
                          static_cast<int32_t>(swapchain_.extent.height), 1};
  vkCmdBlitImage(cmd, source.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, target,
                 VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region, VK_FILTER_NEAREST);
  const VkImageMemoryBarrier after[] = {
      layout_change(target, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR),
      layout_change(source.image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_IMAGE_LAYOUT_GENERAL)};
  vkCmdPipelineBarrier(cmd, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0, nullptr, 0,
                       nullptr, 2, after);
}

void VulkanDevice::present(int) {
  uint32_t index = 0;
  const VkResult acquired = swapchain_.surface ? acquire_image(&index) : VK_ERROR_SURFACE_LOST_KHR;
  if (acquired != VK_SUCCESS && acquired != VK_SUBOPTIMAL_KHR) {
    // No image (headless, or a window with nothing to show into): the
    // frame's work runs all the same.
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
  if (shown == VK_ERROR_OUT_OF_DATE_KHR || (shown == VK_SUBOPTIMAL_KHR && window_resized()))
    swapchain_.out_of_date = true;
}

}  // namespace gpu::vk
