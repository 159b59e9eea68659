// Instance, validation, device choice and the per-frame objects.
#include <SDL.h>
#include <SDL_vulkan.h>

#include <cstdio>
#include <cstring>

#include "platform/gpu/vulkan/vk_device.h"

namespace gpu::vk {

namespace {

constexpr const char* kValidationLayer = "VK_LAYER_KHRONOS_validation";

VKAPI_ATTR VkBool32 VKAPI_CALL on_validation_message(VkDebugUtilsMessageSeverityFlagBitsEXT severity,
                                                     VkDebugUtilsMessageTypeFlagsEXT,
                                                     const VkDebugUtilsMessengerCallbackDataEXT* data,
                                                     void* user) {
  if (severity < VK_DEBUG_UTILS_MESSAGE_SEVERITY_WARNING_BIT_EXT) return VK_FALSE;
  std::fprintf(stderr, "vulkan validation: %s\n", data->pMessage);
  static_cast<VulkanDevice*>(user)->count_validation_message();
  return VK_FALSE;
}

bool layer_available(const char* name) {
  uint32_t count = 0;
  vkEnumerateInstanceLayerProperties(&count, nullptr);
  std::vector<VkLayerProperties> layers(count);
  vkEnumerateInstanceLayerProperties(&count, layers.data());
  for (const auto& l : layers)
    if (std::strcmp(l.layerName, name) == 0) return true;
  return false;
}

int device_preference(VkPhysicalDeviceType type) {
  switch (type) {
    case VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU: return 4;
    case VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU: return 3;
    case VK_PHYSICAL_DEVICE_TYPE_VIRTUAL_GPU: return 2;
    case VK_PHYSICAL_DEVICE_TYPE_CPU: return 1;
    default: return 0;
  }
}

bool has_extension(VkPhysicalDevice device, const char* name) {
  uint32_t count = 0;
  vkEnumerateDeviceExtensionProperties(device, nullptr, &count, nullptr);
  std::vector<VkExtensionProperties> exts(count);
  vkEnumerateDeviceExtensionProperties(device, nullptr, &count, exts.data());
  for (const auto& e : exts)
    if (std::strcmp(e.extensionName, name) == 0) return true;
  return false;
}

}  // namespace

bool VulkanDevice::init(const DeviceDesc& desc, std::string* error) {
  timing_ = desc.timing;
  windowed_ = desc.window != nullptr;
  if (!create_instance(desc, error) || !pick_physical_device(error) || !create_logical_device(error) ||
      !create_frame_objects(error))
    return false;
  if (desc.window && !create_swapchain(static_cast<SDL_Window*>(desc.window), error)) return false;
  back_buffer_ = create_texture({.width = desc.width,
                                 .height = desc.height,
                                 .format = Format::RGBA8,
                                 .bind = kBindUnorderedAccess,
                                 .label = "backBuffer"});
  if (!back_buffer_) {
    *error = back_buffer_failure(desc.width, desc.height, max_image_side_);
    return false;
  }
  create_dummies();
  return true;
}

bool VulkanDevice::create_instance(const DeviceDesc& desc, std::string* error) {
  std::vector<const char*> extensions;
  if (desc.window) {
    unsigned count = 0;
    SDL_Vulkan_GetInstanceExtensions(static_cast<SDL_Window*>(desc.window), &count, nullptr);
    extensions.resize(count);
    SDL_Vulkan_GetInstanceExtensions(static_cast<SDL_Window*>(desc.window), &count, extensions.data());
  }
  std::vector<const char*> layers;
  if (desc.validation) {
    if (!layer_available(kValidationLayer)) {
      *error = "the Vulkan validation layer is missing (install vulkan-validationlayers)";
      return false;
    }
    layers.push_back(kValidationLayer);
    extensions.push_back(VK_EXT_DEBUG_UTILS_EXTENSION_NAME);
  }
  VkApplicationInfo app{VK_STRUCTURE_TYPE_APPLICATION_INFO};
  app.pApplicationName = "velmorand";
  app.apiVersion = VK_API_VERSION_1_3;

  // Synchronization validation catches a missing barrier even where the
  // driver happens to produce the right picture.
  VkValidationFeatureEnableEXT enables[] = {VK_VALIDATION_FEATURE_ENABLE_SYNCHRONIZATION_VALIDATION_EXT};
  VkValidationFeaturesEXT features{VK_STRUCTURE_TYPE_VALIDATION_FEATURES_EXT};
  features.enabledValidationFeatureCount = 1;
  features.pEnabledValidationFeatures = enables;

  VkInstanceCreateInfo info{VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO};
  info.pNext = desc.validation ? &features : nullptr;
  info.pApplicationInfo = &app;
  info.enabledLayerCount = static_cast<uint32_t>(layers.size());
  info.ppEnabledLayerNames = layers.data();
  info.enabledExtensionCount = static_cast<uint32_t>(extensions.size());
  info.ppEnabledExtensionNames = extensions.data();
  VkResult r = vkCreateInstance(&info, nullptr, &instance_);
  if (r != VK_SUCCESS) {
    *error = "cannot create a Vulkan 1.3 instance (error " + std::to_string(r) +
             "; install libvulkan1 and mesa-vulkan-drivers)";
    return false;
  }
  if (desc.validation) {
    VkDebugUtilsMessengerCreateInfoEXT m{VK_STRUCTURE_TYPE_DEBUG_UTILS_MESSENGER_CREATE_INFO_EXT};
    m.messageSeverity = VK_DEBUG_UTILS_MESSAGE_SEVERITY_WARNING_BIT_EXT |
                        VK_DEBUG_UTILS_MESSAGE_SEVERITY_ERROR_BIT_EXT;
    m.messageType = VK_DEBUG_UTILS_MESSAGE_TYPE_VALIDATION_BIT_EXT |
                    VK_DEBUG_UTILS_MESSAGE_TYPE_PERFORMANCE_BIT_EXT;
    m.pfnUserCallback = on_validation_message;
    m.pUserData = this;
    auto create = reinterpret_cast<PFN_vkCreateDebugUtilsMessengerEXT>(
        vkGetInstanceProcAddr(instance_, "vkCreateDebugUtilsMessengerEXT"));
    if (create) create(instance_, &m, nullptr, &messenger_);
  }
  return true;
}

bool VulkanDevice::pick_physical_device(std::string* error) {
  uint32_t count = 0;
  vkEnumeratePhysicalDevices(instance_, &count, nullptr);
  std::vector<VkPhysicalDevice> devices(count);
  vkEnumeratePhysicalDevices(instance_, &count, devices.data());
  int best = 0;
  for (VkPhysicalDevice d : devices) {
    VkPhysicalDeviceProperties p;
    vkGetPhysicalDeviceProperties(d, &p);
    int score = device_preference(p.deviceType);
    if (p.apiVersion < VK_API_VERSION_1_3 || !has_extension(d, VK_KHR_PUSH_DESCRIPTOR_EXTENSION_NAME)) score = 0;
    if (score > best) {
      best = score;
      physical_ = d;
      adapter_name_ = p.deviceName;
      timestamp_period_ = p.limits.timestampPeriod;
      max_image_side_ = static_cast<int>(p.limits.maxImageDimension2D);
    }
  }
  if (!physical_) {
    *error = "no Vulkan 1.3 device with push descriptors (install mesa-vulkan-drivers for lavapipe)";
    return false;
  }
  vkGetPhysicalDeviceMemoryProperties(physical_, &memory_props_);
  return true;
}

bool VulkanDevice::create_logical_device(std::string* error) {
  uint32_t count = 0;
  vkGetPhysicalDeviceQueueFamilyProperties(physical_, &count, nullptr);
  std::vector<VkQueueFamilyProperties> families(count);
  vkGetPhysicalDeviceQueueFamilyProperties(physical_, &count, families.data());
  constexpr VkQueueFlags kNeeded = VK_QUEUE_GRAPHICS_BIT | VK_QUEUE_COMPUTE_BIT;
  queue_family_ = count;
  for (uint32_t i = 0; i < count; ++i)
    if ((families[i].queueFlags & kNeeded) == kNeeded) {
      queue_family_ = i;
      break;
    }
  if (queue_family_ == count) {
    *error = "the Vulkan device has no queue for both graphics and compute";
    return false;
  }
  float priority = 1.0f;
  VkDeviceQueueCreateInfo queue{VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO};
  queue.queueFamilyIndex = queue_family_;
  queue.queueCount = 1;
  queue.pQueuePriorities = &priority;

  std::vector<const char*> extensions = {VK_KHR_PUSH_DESCRIPTOR_EXTENSION_NAME};
  if (windowed_) extensions.push_back(VK_KHR_SWAPCHAIN_EXTENSION_NAME);

  VkPhysicalDeviceVulkan13Features v13{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_VULKAN_1_3_FEATURES};
  v13.dynamicRendering = VK_TRUE;
  VkPhysicalDeviceFeatures2 features{VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_FEATURES_2};
  features.pNext = &v13;
  // Storage images are written with their format declared in the program.
  features.features.shaderStorageImageWriteWithoutFormat = VK_FALSE;

  VkDeviceCreateInfo info{VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO};
  info.pNext = &features;
  info.queueCreateInfoCount = 1;
  info.pQueueCreateInfos = &queue;
  info.enabledExtensionCount = static_cast<uint32_t>(extensions.size());
  info.ppEnabledExtensionNames = extensions.data();
  VkResult r = vkCreateDevice(physical_, &info, nullptr, &device_);
  if (r != VK_SUCCESS) {
    *error = "cannot create the Vulkan device (error " + std::to_string(r) + ")";
    return false;
  }
  vkGetDeviceQueue(device_, queue_family_, 0, &queue_);
  push_descriptor_set_ = reinterpret_cast<PFN_vkCmdPushDescriptorSetKHR>(
      vkGetDeviceProcAddr(device_, "vkCmdPushDescriptorSetKHR"));
  return push_descriptor_set_ != nullptr;
}

bool VulkanDevice::create_frame_objects(std::string* error) {
  VkCommandPoolCreateInfo pool{VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO};
  pool.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
  pool.queueFamilyIndex = queue_family_;
  VkCommandBufferAllocateInfo alloc{VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO};
  alloc.commandBufferCount = 1;
  alloc.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
  VkFenceCreateInfo fence{VK_STRUCTURE_TYPE_FENCE_CREATE_INFO};
  if (vkCreateCommandPool(device_, &pool, nullptr, &pool_) != VK_SUCCESS ||
      (alloc.commandPool = pool_, vkAllocateCommandBuffers(device_, &alloc, &cmd_)) != VK_SUCCESS ||
      vkCreateFence(device_, &fence, nullptr, &fence_) != VK_SUCCESS) {
    *error = "cannot create the Vulkan command objects";
    return false;
  }
  if (timing_) {
    VkQueryPoolCreateInfo q{VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO};
    q.queryType = VK_QUERY_TYPE_TIMESTAMP;
    q.queryCount = 256;
    vkCreateQueryPool(device_, &q, nullptr, &queries_);
  }
  return true;
}

VulkanDevice::~VulkanDevice() {
  if (!device_) {
    if (instance_) vkDestroyInstance(instance_, nullptr);
    return;
  }
  vkDeviceWaitIdle(device_);
  for (auto& s : staging_in_flight_) {
    vkDestroyBuffer(device_, s.buffer, nullptr);
    vkFreeMemory(device_, s.memory, nullptr);
  }
  for (auto& [key, p] : graphics_pipelines_) vkDestroyPipeline(device_, p, nullptr);
  for (auto& s : shaders_) {
    if (s.compute_pipeline) vkDestroyPipeline(device_, s.compute_pipeline, nullptr);
    if (s.layout) vkDestroyPipelineLayout(device_, s.layout, nullptr);
    if (s.set_layout) vkDestroyDescriptorSetLayout(device_, s.set_layout, nullptr);
    if (s.module) vkDestroyShaderModule(device_, s.module, nullptr);
  }
  for (VkSampler s : samplers_)
    if (s) vkDestroySampler(device_, s, nullptr);
  for (auto* views : {&srvs_, &uavs_, &rtvs_})
    for (auto& v : *views)
      if (v.view) vkDestroyImageView(device_, v.view, nullptr);
  for (auto& i : images_) {
    if (i.image) vkDestroyImage(device_, i.image, nullptr);
    if (i.memory) vkFreeMemory(device_, i.memory, nullptr);
  }
  for (auto& b : buffers_) {
    if (b.buffer) vkDestroyBuffer(device_, b.buffer, nullptr);
    if (b.memory) vkFreeMemory(device_, b.memory, nullptr);
  }
  if (queries_) vkDestroyQueryPool(device_, queries_, nullptr);
  if (swapchain_.acquired) vkDestroySemaphore(device_, swapchain_.acquired, nullptr);
  if (swapchain_.rendered) vkDestroySemaphore(device_, swapchain_.rendered, nullptr);
  if (swapchain_.swapchain) vkDestroySwapchainKHR(device_, swapchain_.swapchain, nullptr);
  vkDestroyFence(device_, fence_, nullptr);
  vkDestroyCommandPool(device_, pool_, nullptr);
  vkDestroyDevice(device_, nullptr);
  if (swapchain_.surface) vkDestroySurfaceKHR(instance_, swapchain_.surface, nullptr);
  if (messenger_) {
    auto destroy = reinterpret_cast<PFN_vkDestroyDebugUtilsMessengerEXT>(
        vkGetInstanceProcAddr(instance_, "vkDestroyDebugUtilsMessengerEXT"));
    if (destroy) destroy(instance_, messenger_, nullptr);
  }
  vkDestroyInstance(instance_, nullptr);
}

}  // namespace gpu::vk

namespace gpu {

std::unique_ptr<Device> create_device(const DeviceDesc& desc, std::string* error, int32_t*) {
  auto device = std::make_unique<vk::VulkanDevice>();
  std::string message;
  if (!device->init(desc, &message)) {
    if (error) *error = message;
    return nullptr;
  }
  return device;
}

}  // namespace gpu
