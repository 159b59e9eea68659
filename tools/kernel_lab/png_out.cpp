#include "tools/kernel_lab/png_out.h"

#include <stb_image_write.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kernel_lab {

bool write_tone_mapped(const std::string& path, const reference::Image& image, double exposure) {
  std::vector<uint8_t> rgb(size_t(image.width) * image.height * 3);
  for (size_t i = 0, n = size_t(image.width) * image.height; i < n; ++i)
    for (int c = 0; c < 3; ++c) {
      double x = std::max(0.0, double(image.rgba[i * 4 + c])) * exposure;
      rgb[i * 3 + c] = uint8_t(std::lround(255 * std::pow(1 - std::exp(-x), 1 / 2.2)));
    }
  if (stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(), image.width * 3)) return true;
  std::fprintf(stderr, "velmorand-kernel-pictures: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace kernel_lab
