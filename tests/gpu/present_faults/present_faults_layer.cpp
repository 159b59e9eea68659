// The layer: the loader's chain is followed for the instance and the
// device, and three swapchain calls are wrapped. One instance and one device
// at a time, which is all a test makes.
#include <vulkan/vk_layer.h>
#include <vulkan/vulkan.h>

#include <cstring>
#include <string>

#include "tests/gpu/present_faults/present_faults.h"

namespace {

PFN_vkGetInstanceProcAddr next_instance_proc = nullptr;
PFN_vkGetDeviceProcAddr next_device_proc = nullptr;
PFN_vkAcquireNextImageKHR next_acquire = nullptr;
PFN_vkQueuePresentKHR next_present = nullptr;
PFN_vkCreateSwapchainKHR next_create_swapchain = nullptr;

std::string acquire_script, present_script;
size_t acquire_calls = 0, present_calls = 0;
PresentFaultCounts counts{};

char next_step(const std::string& script, size_t& calls) {
  const size_t call = calls++;
  return call < script.size() ? script[call] : '.';
}

template <typename Info>
Info* find_link(const void* chain, VkStructureType type) {
  for (auto* info = static_cast<Info*>(const_cast<void*>(chain)); info;
       info = static_cast<Info*>(const_cast<void*>(info->pNext)))
    if (info->sType == type && info->function == VK_LAYER_LINK_INFO) return info;
  return nullptr;
}

VKAPI_ATTR VkResult VKAPI_CALL create_instance(const VkInstanceCreateInfo* info, const VkAllocationCallbacks* a,
                                               VkInstance* instance) {
  auto* link = find_link<VkLayerInstanceCreateInfo>(info->pNext, VK_STRUCTURE_TYPE_LOADER_INSTANCE_CREATE_INFO);
  if (!link) return VK_ERROR_INITIALIZATION_FAILED;
  next_instance_proc = link->u.pLayerInfo->pfnNextGetInstanceProcAddr;
  link->u.pLayerInfo = link->u.pLayerInfo->pNext;
  auto create = reinterpret_cast<PFN_vkCreateInstance>(next_instance_proc(nullptr, "vkCreateInstance"));
  return create(info, a, instance);
}

VKAPI_ATTR VkResult VKAPI_CALL create_device(VkPhysicalDevice physical, const VkDeviceCreateInfo* info,
                                             const VkAllocationCallbacks* a, VkDevice* device) {
  auto* link = find_link<VkLayerDeviceCreateInfo>(info->pNext, VK_STRUCTURE_TYPE_LOADER_DEVICE_CREATE_INFO);
  if (!link) return VK_ERROR_INITIALIZATION_FAILED;
  PFN_vkGetInstanceProcAddr instance_proc = link->u.pLayerInfo->pfnNextGetInstanceProcAddr;
  next_device_proc = link->u.pLayerInfo->pfnNextGetDeviceProcAddr;
  link->u.pLayerInfo = link->u.pLayerInfo->pNext;
  auto create = reinterpret_cast<PFN_vkCreateDevice>(instance_proc(nullptr, "vkCreateDevice"));
  VkResult result = create(physical, info, a, device);
  if (result != VK_SUCCESS) return result;
  next_acquire = reinterpret_cast<PFN_vkAcquireNextImageKHR>(next_device_proc(*device, "vkAcquireNextImageKHR"));
  next_present = reinterpret_cast<PFN_vkQueuePresentKHR>(next_device_proc(*device, "vkQueuePresentKHR"));
  next_create_swapchain = reinterpret_cast<PFN_vkCreateSwapchainKHR>(
      next_device_proc(*device, "vkCreateSwapchainKHR"));
  return result;
}

VKAPI_ATTR VkResult VKAPI_CALL acquire(VkDevice device, VkSwapchainKHR swapchain, uint64_t timeout,
                                       VkSemaphore semaphore, VkFence fence, uint32_t* index) {
  const char step = next_step(acquire_script, acquire_calls);
  if (step == 'o') return VK_ERROR_OUT_OF_DATE_KHR;
  VkResult result = next_acquire(device, swapchain, timeout, semaphore, fence, index);
  if (result == VK_SUCCESS || result == VK_SUBOPTIMAL_KHR) ++counts.acquires_granted;
  return result == VK_SUCCESS && step == 's' ? VK_SUBOPTIMAL_KHR : result;
}

VKAPI_ATTR VkResult VKAPI_CALL present(VkQueue queue, const VkPresentInfoKHR* info) {
  const char step = next_step(present_script, present_calls);
  VkResult result = next_present(queue, info);
  if (result == VK_SUCCESS || result == VK_SUBOPTIMAL_KHR) ++counts.presents_reached;
  if (result != VK_SUCCESS) return result;
  return step == 's' ? VK_SUBOPTIMAL_KHR : step == 'o' ? VK_ERROR_OUT_OF_DATE_KHR : result;
}

VKAPI_ATTR VkResult VKAPI_CALL create_swapchain(VkDevice device, const VkSwapchainCreateInfoKHR* info,
                                                const VkAllocationCallbacks* a, VkSwapchainKHR* swapchain) {
  VkResult result = next_create_swapchain(device, info, a, swapchain);
  if (result == VK_SUCCESS) ++counts.swapchains_created;
  return result;
}

PFN_vkVoidFunction device_function(const char* name);

}  // namespace

extern "C" {

VK_LAYER_EXPORT VKAPI_ATTR PFN_vkVoidFunction VKAPI_CALL vkGetDeviceProcAddr(VkDevice device, const char* name) {
  if (PFN_vkVoidFunction ours = device_function(name)) return ours;
  return next_device_proc ? next_device_proc(device, name) : nullptr;
}

VK_LAYER_EXPORT VKAPI_ATTR PFN_vkVoidFunction VKAPI_CALL vkGetInstanceProcAddr(VkInstance instance,
                                                                               const char* name) {
  if (!std::strcmp(name, "vkGetInstanceProcAddr"))
    return reinterpret_cast<PFN_vkVoidFunction>(vkGetInstanceProcAddr);
  if (!std::strcmp(name, "vkCreateInstance")) return reinterpret_cast<PFN_vkVoidFunction>(create_instance);
  if (!std::strcmp(name, "vkCreateDevice")) return reinterpret_cast<PFN_vkVoidFunction>(create_device);
  if (PFN_vkVoidFunction ours = device_function(name)) return ours;
  return next_instance_proc ? next_instance_proc(instance, name) : nullptr;
}

void present_faults_script(const char* acquire_steps, const char* present_steps) {
  acquire_script = acquire_steps;
  present_script = present_steps;
  acquire_calls = present_calls = 0;
  counts = {};
}

PresentFaultCounts present_faults_counts() { return counts; }

}  // extern "C"

namespace {

PFN_vkVoidFunction device_function(const char* name) {
  if (!std::strcmp(name, "vkGetDeviceProcAddr")) return reinterpret_cast<PFN_vkVoidFunction>(vkGetDeviceProcAddr);
  if (!std::strcmp(name, "vkAcquireNextImageKHR")) return reinterpret_cast<PFN_vkVoidFunction>(acquire);
  if (!std::strcmp(name, "vkQueuePresentKHR")) return reinterpret_cast<PFN_vkVoidFunction>(present);
  if (!std::strcmp(name, "vkCreateSwapchainKHR")) return reinterpret_cast<PFN_vkVoidFunction>(create_swapchain);
  return nullptr;
}

}  // namespace
