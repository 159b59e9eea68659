#pragma once
// Images as the GPU programs see them, and the two ways they read them:
// integer loads and bilinear taps with the address modes of the intro's
// samplers.

#include <cstdint>
#include <vector>

#include "tools/kernel_reference/reference_vector.h"

namespace reference {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // row-major, four floats a texel

  Image() = default;
  Image(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 0.0f) {}
  Vec4 texel(int x, int y) const;
  void set(int x, int y, Vec4 v);
};

// What an RGBA16F texture holds after an upload of these floats, and what
// an RGBA8 texture holds for these bytes.
Image as_half(const Image&);
Image from_bytes(int width, int height, const std::vector<uint8_t>& rgba);

enum class Address { Clamp, Border };  // border: transparent black

// A texel, or zeros outside the image.
Vec4 load_or_zero(const Image&, int x, int y);

// Linear filtering at normalised coordinates, level 0.
Vec4 sample_bilinear(const Image&, Vec2 uv, Address);

}  // namespace reference
