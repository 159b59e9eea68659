#pragma once
// What the kernel passes read, made without the runtime: the embedded
// pictures from assets/ (or stand-ins when a file is missing), and a scene
// distance image traced through the cube field on the CPU.

#include <cstdint>
#include <string>
#include <vector>

#include "src/uniform_block.h"
#include "tools/kernel_reference/reference_image.h"

namespace kernel_lab {

struct ByteImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

// assets/<name>.png decoded to RGBA8, or an empty image.
ByteImage load_asset(const std::string& name);

// The logo and banner stand-in: a soft-edged opaque ellipse with a hole.
ByteImage stand_in_logo(int width, int height);
// White noise where the blue noise is missing.
ByteImage stand_in_noise();

// A camera over the cube field looking along the rows towards the sun.
UniformBuffer shaft_camera(int render_width, int render_height);

// Grey scene lit by the sun, with the distance along each camera ray in
// alpha (capped at 30), as the first scene leaves it in the render texture.
reference::Image traced_scene(const UniformBuffer& camera, int width, int height);

// Dark picture with bright discs and thin lines, for the bloom chain.
reference::Image bright_test_image(int width, int height);

}  // namespace kernel_lab
