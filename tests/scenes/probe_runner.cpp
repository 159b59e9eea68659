#include "tests/scenes/probe_runner.h"

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/gpu/gpu_harness.h"

namespace scene_test {

gpu::Shader scene_test_program(gpu::Device& device, const std::string& name) {
  std::ifstream in(std::string(SCENE_TEST_PROGRAMS) + "/" + name + VELMORAND_PROGRAM_SUFFIX, std::ios::binary);
  static std::vector<std::vector<uint8_t>> keep;  // the code must outlive the device
  keep.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  EXPECT_FALSE(keep.back().empty()) << "test program " << name << " missing";
  return device.create_shader({.stage = gpu::Stage::Compute, .code = keep.back(), .label = "probe"});
}

namespace {

float decode_exact(const float* texel) {
  uint32_t bits = static_cast<uint32_t>(texel[0]) | static_cast<uint32_t>(texel[1]) << 11 |
                  static_cast<uint32_t>(texel[2]) << 22;
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

void bind_flat_sky(gpu::Device& device, float3 colour) {
  std::vector<float> texels;
  for (int i = 0; i < 16 * 8; ++i) texels.insert(texels.end(), {colour.x, colour.y, colour.z, 1.0f});
  gpu::Texture sky = gpu_test::float_texture(device, 16, 8, texels, gpu::kBindShaderResource);
  device.cs_set_shader_resources(0, std::array{device.create_srv({.texture = sky})});
  device.cs_set_samplers(2, std::array{device.create_sampler({.address = gpu::AddressMode::Wrap})});
}

}  // namespace

std::vector<std::vector<float>> run_probe(gpu::Device& device, const std::string& program, const void* inputs,
                                          size_t input_bytes, int columns, int rows,
                                          const ProbeBindings& bindings) {
  gpu::Texture target = device.create_texture({.width = columns,
                                               .height = rows,
                                               .format = gpu::Format::RGBA16F,
                                               .bind = gpu::kBindUnorderedAccess | gpu::kBindShaderResource});
  device.cs_set_shader(scene_test_program(device, program));
  device.cs_set_unordered_access_views(0, std::array{device.create_uav({.texture = target})});
  gpu::Buffer block = bindings.block ? gpu_test::constant_buffer(device, &*bindings.block, sizeof(UniformBuffer))
                                     : gpu::Buffer{};
  device.cs_set_constant_buffers(0, std::array{block, gpu_test::constant_buffer(device, inputs, input_bytes)});
  if (bindings.flat_sky) bind_flat_sky(device, *bindings.flat_sky);
  device.dispatch(columns, rows, 1);
  device.present(1);
  std::vector<float> texels = device.read_rgba16f(target, 0);
  std::vector<std::vector<float>> result(rows, std::vector<float>(columns));
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) result[y][x] = decode_exact(&texels[(size_t(y) * columns + x) * 4]);
  return result;
}

}  // namespace scene_test
