#include "platform/gpu/gpu.h"

namespace gpu {

std::string back_buffer_failure(int width, int height, int max_image_side) {
  std::string message = "cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " back buffer";
  if (width > max_image_side || height > max_image_side)
    message += ": the device allows at most " + std::to_string(max_image_side) + " pixels a side";
  return message;
}

}  // namespace gpu
