#pragma once
// Shared by the GPU tests: a headless device on whatever Vulkan device the
// machine has (lavapipe here) with the validation layers and synchronization
// checks on. A test fails on any validation message.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "tests/gpu/validation_check.h"

namespace gpu_test {

std::unique_ptr<gpu::Device> make_device(int width, int height, bool timing = false);

// One of the intro's own programs, as linked into the executable.
gpu::Shader intro_program(gpu::Device&, const std::string& name);

// A program made only for the tests (tests/gpu/programs/<name>.hlsl).
gpu::Shader test_program(gpu::Device&, const std::string& name);

// A texture filled from float RGBA texels (RGBA16F) or bytes (RGBA8).
gpu::Texture float_texture(gpu::Device&, int width, int height, const std::vector<float>& rgba, uint32_t bind,
                           int mips = 1);
gpu::Texture byte_texture(gpu::Device&, int width, int height, const std::vector<uint8_t>& rgba, uint32_t bind,
                          int mips = 1);

// A 144-byte constant buffer with its contents.
gpu::Buffer constant_buffer(gpu::Device&, const void* data, size_t size);

class GpuTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (device) {
      gpu_test::expect_validation_clean(*device);
    }
  }
  std::unique_ptr<gpu::Device> device;
};

}  // namespace gpu_test
