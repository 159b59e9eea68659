#include "tools/capture/png_file.h"

#include <stb_image_write.h>

#include <cstring>

#include "tools/common/output_file.h"

namespace {

void append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(context);
  bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

bool write_png(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height,
               std::string* error) {
  const size_t pixels = static_cast<size_t>(width) * height;
  if (rgba.size() != pixels * 4) {
    *error = "the picture read back has the wrong size";
    return false;
  }
  std::vector<uint8_t> rgb(pixels * 3);
  for (size_t i = 0; i < pixels; ++i) std::memcpy(&rgb[i * 3], &rgba[i * 4], 3);
  // Encoded in memory and written by us: the library's own file writing
  // does not check its writes.
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), width * 3)) {
    *error = "cannot encode " + path + " as PNG";
    return false;
  }
  return write_whole_file(path, png, error);
}
