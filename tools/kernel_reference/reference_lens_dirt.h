#pragma once
// The lens dirt of one pixel.

#include "tools/kernel_reference/reference_vector.h"

namespace reference {

// One layer of specks at point p (screen 0..1) for jitter k, on a screen of
// the given aspect ratio (width / height).
double speck_layer(Vec2 p, double k, double aspect);

// Pixel (x, y) of a width x height lens-dirt image.
Vec3 lens_dirt_pixel(int x, int y, int width, int height);

}  // namespace reference
