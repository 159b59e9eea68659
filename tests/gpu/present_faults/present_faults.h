#pragma once
// A Vulkan layer for tests that makes the swapchain answer as a compositor
// may: acquire or present report VK_SUBOPTIMAL_KHR or
// VK_ERROR_OUT_OF_DATE_KHR on the calls a script picks. The test links the
// layer's library, which the loader then loads as the same object, so both
// see one script and one set of counts.

extern "C" {

// One character per call, in order; calls past the end pass through.
//   '.' pass through   's' call down, then answer VK_SUBOPTIMAL_KHR
//   'o' answer VK_ERROR_OUT_OF_DATE_KHR (acquire: without acquiring;
//       present: after presenting)
void present_faults_script(const char* acquire, const char* present);

struct PresentFaultCounts {
  int acquires_granted;  // images the driver handed out
  int presents_reached;  // presentations that reached the driver
  int swapchains_created;
};
PresentFaultCounts present_faults_counts();
}

inline constexpr char kPresentFaultsLayer[] = "VK_LAYER_VELMORAND_present_faults";
