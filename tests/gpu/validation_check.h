#pragma once
// A device's validation messages, checked by what the device could check.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "platform/gpu/gpu.h"

namespace gpu_test {

// Fails on any validation message. Where the device runs no validation
// (Direct3D 11 under Wine has no debug layer) the test says so rather than
// pass as if it had looked; on Vulkan the layer must run.
inline void expect_validation_clean(const gpu::Device& device) {
  const std::optional<int> messages = device.validation_message_count();
  if (messages) {
    EXPECT_EQ(*messages, 0) << "validation messages above";
    return;
  }
#ifdef _WIN32
  ::testing::Test::RecordProperty("validation", "unavailable");
  std::printf("note: no validation on %s: its messages were not checked\n", device.adapter_name().c_str());
#else
  ADD_FAILURE() << "validation was asked for but does not run on " << device.adapter_name();
#endif
}

}  // namespace gpu_test
