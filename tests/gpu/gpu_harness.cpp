#include "tests/gpu/gpu_harness.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "embedded/programs.h"
#include "src/program_catalog.h"

namespace gpu_test {

std::unique_ptr<gpu::Device> make_device(int width, int height, bool timing) {
  std::string error;
  auto device = gpu::create_device({.width = width, .height = height, .validation = true, .timing = timing},
                                   &error);
  EXPECT_TRUE(device) << error;
  return device;
}

gpu::Shader intro_program(gpu::Device& device, const std::string& name) {
  for (const embedded::Blob& b : embedded::programs())
    if (name == b.name)
      return device.create_shader({.stage = program_stage(name), .code = {b.data, b.size}, .label = b.name});
  ADD_FAILURE() << "no program named " << name;
  return {};
}

gpu::Shader test_program(gpu::Device& device, const std::string& name) {
  std::ifstream in(std::string(VELMORAND_TEST_PROGRAMS) + "/" + name + VELMORAND_PROGRAM_SUFFIX, std::ios::binary);
  static std::vector<std::vector<uint8_t>> keep;  // the label must outlive the call
  std::vector<uint8_t> code((std::istreambuf_iterator<char>(in)), {});
  EXPECT_FALSE(code.empty()) << "test program " << name << " missing";
  keep.push_back(code);
  return device.create_shader({.stage = program_stage(name), .code = keep.back(), .label = "test program"});
}

gpu::Texture float_texture(gpu::Device& device, int width, int height, const std::vector<float>& rgba,
                           uint32_t bind, int mips) {
  gpu::Texture t = device.create_texture(
      {.width = width, .height = height, .mip_levels = mips, .format = gpu::Format::RGBA16F, .bind = bind});
  std::vector<uint8_t> bytes(rgba.size() * 2);
  for (size_t i = 0; i < rgba.size(); ++i) {
    uint16_t h = gpu::float_to_half(rgba[i]);
    std::memcpy(bytes.data() + 2 * i, &h, 2);
  }
  device.update_subresource(t, bytes, static_cast<uint32_t>(width) * 8);
  return t;
}

gpu::Texture byte_texture(gpu::Device& device, int width, int height, const std::vector<uint8_t>& rgba,
                          uint32_t bind, int mips) {
  gpu::Texture t = device.create_texture(
      {.width = width, .height = height, .mip_levels = mips, .format = gpu::Format::RGBA8, .bind = bind});
  device.update_subresource(t, rgba, static_cast<uint32_t>(width) * 4);
  return t;
}

gpu::Buffer constant_buffer(gpu::Device& device, const void* data, size_t size) {
  gpu::Buffer b = device.create_buffer({.byte_width = static_cast<uint32_t>(size)});
  device.update_subresource(b, {static_cast<const uint8_t*>(data), size});
  return b;
}

}  // namespace gpu_test
