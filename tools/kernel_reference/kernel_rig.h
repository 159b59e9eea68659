#pragma once
// Runs the intro's programs one pass at a time on a device, bound the way
// the frame passes bind them: the uniform block at b0 of the compute and
// pixel stages, and the clamping, bordered and wrapping samplers at s0..s2
// of every stage. Shared by the kernel tests and the kernel tools.

#include <map>
#include <string>
#include <vector>

#include "platform/gpu/gpu.h"
#include "src/uniform_block.h"
#include "tools/kernel_reference/reference_image.h"

namespace kernel_rig {

class KernelRig {
 public:
  // Programs come from the executable, or from <program_dir>/<name>.spv
  // (.dxbc on Windows)
  // where such a file exists (to compare two builds of a kernel).
  explicit KernelRig(gpu::Device& device, std::string program_dir = "");

  gpu::Device& device() { return device_; }
  void upload(const UniformBuffer& block);

  // Textures holding an image: RGBA16F from floats, RGBA8 from bytes.
  gpu::Texture half_texture(const reference::Image& image, int mips = 1);
  gpu::Texture byte_texture(int width, int height, const std::vector<uint8_t>& rgba);
  // An RGBA16F texture every kind of pass can write and read, zeroed.
  gpu::Texture target(int width, int height, int mips = 1);

  // One compute pass: inputs at t0, t1, ... (a null texture leaves its slot
  // empty), output level 0 at u0.
  void dispatch(const std::string& program, const std::vector<gpu::Texture>& inputs, gpu::Texture output,
                uint32_t groups_x, uint32_t groups_y);

  // One full-screen triangle of a pixel program into level `level` of
  // `output`, reading level `source_level` of `source` alone at t0.
  void draw(const std::string& program, gpu::Texture source, int source_level, gpu::Texture output, int level,
            const gpu::Viewport& viewport, bool additive);

  // Ends the frame and reads a level back.
  reference::Image read(gpu::Texture texture, int level = 0);

 private:
  gpu::Shader program(const std::string& name);

  gpu::Device& device_;
  std::string program_dir_;
  std::vector<std::vector<uint8_t>> loaded_code_;
  gpu::Buffer block_;
  gpu::BlendState additive_;
  std::map<std::string, gpu::Shader> programs_;
};

}  // namespace kernel_rig
