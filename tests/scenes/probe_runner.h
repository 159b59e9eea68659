#pragma once
// Runs the probe programs of this folder: each evaluates one kernel helper
// at inputs a test chooses and returns exact float results.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "src/uniform_block.h"

namespace scene_test {

// A program made for these tests (tests/scenes/programs/<name>.hlsl).
gpu::Shader scene_test_program(gpu::Device&, const std::string& name);

struct ProbeBindings {
  std::optional<UniformBuffer> block;  // at b0, for helpers that read it
  std::optional<float3> flat_sky;      // a 16 x 8 panorama of one colour at t0
};

// Result[row][column] of a probe dispatched over columns x rows threads with
// `inputs` as its constant block at b1.
std::vector<std::vector<float>> run_probe(gpu::Device&, const std::string& program, const void* inputs,
                                          size_t input_bytes, int columns, int rows,
                                          const ProbeBindings& bindings = {});

}  // namespace scene_test
