#pragma once
// The sun shafts of one pixel.

#include "src/uniform_block.h"
#include "tools/kernel_reference/reference_image.h"
#include "tools/kernel_reference/reference_vector.h"

namespace reference {

struct ScatteringInputs {
  const Image* scene;       // alpha: distance along the camera ray
  const Image* logo;        // alpha: the logo's cover
  const Image* blue_noise;  // 64 x 64, red channel
};

// How many of the pixel's five samples see the sun.
int lit_samples(const UniformBuffer&, const ScatteringInputs&, int x, int y);

// How many of the pixel's samples meet the logo on their way to the sun
// further away than the scene distance, where it casts no shadow.
int logo_crossings_beyond_scene(const UniformBuffer&, const ScatteringInputs&, int x, int y);

Vec3 scattering_pixel(const UniformBuffer&, const ScatteringInputs&, int x, int y);

}  // namespace reference
