#include "src/program_catalog.h"

#include <cstdio>
#include <string>

#include "embedded/programs.h"

gpu::Stage program_stage(std::string_view name) {
  if (name.ends_with("VS")) return gpu::Stage::Vertex;
  if (name.ends_with("PS") || name.starts_with("Bloom")) return gpu::Stage::Pixel;
  return gpu::Stage::Compute;
}

gpu::Shader create_program(gpu::Device& device, std::string_view name) {
  for (const embedded::Blob& b : embedded::programs())
    if (name == b.name)
      return device.create_shader({.stage = program_stage(name), .code = {b.data, b.size}, .label = b.name});
  // Handed to the device all the same, which refuses it and so reports the
  // missing program like any other failed creation.
  std::fprintf(stderr, "no program named %.*s is linked in\n", static_cast<int>(name.size()), name.data());
  const std::string label(name);
  return device.create_shader({.stage = program_stage(name), .code = {}, .label = label.c_str()});
}
