// Presentation when the swapchain answers as compositors do: suboptimal
// images are presented, an out-of-date swapchain is made again at the
// window's size. On a window of a virtual display, validation on.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gpu/gpu.h"
#include "tests/gpu/present_faults/present_faults.h"
#include "tests/gpu/validation_check.h"

namespace {

TEST(Presentation, SuboptimalImagesArePresentedAndAnOutOfDateSwapchainIsMadeAgain) {
  setenv("VK_ADD_LAYER_PATH", PRESENT_FAULTS_LAYER_DIR, 1);
  setenv("VK_INSTANCE_LAYERS", kPresentFaultsLayer, 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("faults", 0, 0, 64, 36, SDL_WINDOW_VULKAN | SDL_WINDOW_SHOWN);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  std::string error;
  auto device = gpu::create_device({.width = 64, .height = 36, .window = window, .validation = true}, &error);
  ASSERT_TRUE(device) << error;
  // Acquire: two suboptimal images, then out of date at the fourth frame.
  // Present: out of date at the fourth frame too, so the fifth makes it again.
  present_faults_script("ss.o", "...o");
  for (int frame = 0; frame < 6; ++frame) device->present(1);
  const PresentFaultCounts counts = present_faults_counts();
  EXPECT_EQ(counts.presents_reached, 6);
  EXPECT_EQ(counts.acquires_granted, 6);
  EXPECT_EQ(counts.swapchains_created, 2);
  gpu_test::expect_validation_clean(*device);
  device.reset();
  SDL_DestroyWindow(window);
}

}  // namespace
