#pragma once
// The camera ray of the scene kernels, and the blue-noise sequence that
// jitters the two samples of a pixel.
#include "tests/scenes/reference/vec.h"
#include "src/uniform_block.h"

namespace ref {

struct Ray {
  V3 origin, dir;
};

// Sample `index` (0 or 1) of pixel (x, y) for a blue-noise triple n of that
// pixel, with jitter and motion blur.
Ray camera_sample(const UniformBuffer& u, int x, int y, V3 n, int index);

}  // namespace ref
