#pragma once
// The logo particle field: seeding from the image, one gather step, and
// the colour of the density.

#include "tools/kernel_reference/reference_image.h"
#include "tools/kernel_reference/reference_vector.h"

namespace reference {

// The state texel (x, y) seeded from the logo image (offset x, y; mass; 0).
Vec4 seed_texel(const Image& logo, Vec2 inv_res, int x, int y);

// The state texel (x, y) after one step from `state`.
Vec4 step_texel(const Image& state, int x, int y);

// The colour the density of `state` gives render pixel (x, y).
Vec4 shade_pixel(const Image& state, Vec2 inv_res, int x, int y);

}  // namespace reference
