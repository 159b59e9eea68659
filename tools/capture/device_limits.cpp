#include "tools/capture/device_limits.h"

#include <vulkan/vulkan.h>

#include <algorithm>
#include <vector>

int max_image_side(const std::string& adapter) {
  VkApplicationInfo app{VK_STRUCTURE_TYPE_APPLICATION_INFO};
  app.apiVersion = VK_API_VERSION_1_3;
  VkInstanceCreateInfo info{VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO};
  info.pApplicationInfo = &app;
  VkInstance instance = VK_NULL_HANDLE;
  if (vkCreateInstance(&info, nullptr, &instance) != VK_SUCCESS) return 0;
  uint32_t count = 0;
  vkEnumeratePhysicalDevices(instance, &count, nullptr);
  std::vector<VkPhysicalDevice> devices(count);
  vkEnumeratePhysicalDevices(instance, &count, devices.data());
  int named = 0, largest = 0;
  for (VkPhysicalDevice device : devices) {
    VkPhysicalDeviceProperties properties;
    vkGetPhysicalDeviceProperties(device, &properties);
    int side = static_cast<int>(properties.limits.maxImageDimension2D);
    largest = std::max(largest, side);
    if (adapter == properties.deviceName) named = side;
  }
  vkDestroyInstance(instance, nullptr);
  return named ? named : largest;
}
