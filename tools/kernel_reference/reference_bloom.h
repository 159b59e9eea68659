#pragma once
// The bloom chain's three pixel programs, pixel by pixel.

#include "tools/kernel_reference/reference_image.h"
#include "tools/kernel_reference/reference_vector.h"

namespace reference {

// Level 0 from the render texture; inv_res describes twice the target.
Vec3 bright_pass_pixel(const Image& source, Vec2 inv_res, int x, int y);

// The nine-tap filter at target pixel (x, y), shifted a quarter of a target
// pixel by shift (+1 on the way down, -1 on the way up).
Vec3 bloom_filter_pixel(const Image& source, Vec2 inv_res, double shift, int x, int y);

}  // namespace reference
