#pragma once
// Runs SceneKernel or FinaleKernel once on small, hand-made inputs and reads
// the render texture back.
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "src/uniform_block.h"

namespace scene_test {

struct Image {
  int width = 1, height = 1;
  std::vector<float> rgba{0, 0, 0, 0};  // rows top first
};

Image flat_image(int width, int height, float r, float g, float b, float a);

struct KernelInputs {
  Image sky = flat_image(16, 8, 0.2f, 0.3f, 0.4f, 1.0f);
  Image logo;       // transparent
  Image lettering;  // transparent
  // One blue-noise triple for every pixel: 0.5 puts the first sample on the
  // pixel's corner exactly, without motion blur.
  float3 noise{0.5f, 0.5f, 0.5f};
};

// A block for a width x height render: camera at the origin looking along
// +z with no motion, sun high, everything else off.
UniformBuffer plain_block(int width, int height);

// The render texture after one dispatch (RGBA, rows top first).
std::vector<float> run_kernel(gpu::Device&, const std::string& program, const UniformBuffer&, int width,
                              int height, const KernelInputs& inputs = {});

}  // namespace scene_test
