#include "tools/capture/png_file.h"

#include <stb_image_write.h>

#include <cerrno>
#include <cstring>

bool write_png(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height,
               std::string* error) {
  const size_t pixels = static_cast<size_t>(width) * height;
  if (rgba.size() != pixels * 4) {
    *error = "the picture read back has the wrong size";
    return false;
  }
  std::vector<uint8_t> rgb(pixels * 3);
  for (size_t i = 0; i < pixels; ++i) std::memcpy(&rgb[i * 3], &rgba[i * 4], 3);
  errno = 0;
  if (!stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3)) {
    *error = "cannot write " + path + (errno ? std::string(": ") + std::strerror(errno) : "");
    return false;
  }
  return true;
}
