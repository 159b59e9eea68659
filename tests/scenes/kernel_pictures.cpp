// Writes what the scene kernels draw at chosen rows of the choreography, for
// a person to look at: the render texture (linear colour, shown with a plain
// gamma and clamp) and the presented frame, both through the whole runtime.
//
//   scene_kernel_pictures OUT_DIR WIDTH HEIGHT ROW...
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "src/headless_intro.h"

namespace {

std::vector<uint8_t> to_display(const std::vector<float>& rgba) {
  std::vector<uint8_t> out(rgba.size());
  for (size_t i = 0; i < rgba.size(); ++i) {
    float v = (i % 4 == 3) ? 1.0f : std::pow(std::clamp(rgba[i], 0.0f, 1.0f), 1.0f / 2.2f);
    out[i] = static_cast<uint8_t>(std::lround(v * 255.0f));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s OUT_DIR WIDTH HEIGHT ROW...\n", argv[0]);
    return 2;
  }
  std::string dir = argv[1];
  Size screen{std::atoi(argv[2]), std::atoi(argv[3])};
  std::string error;
  auto intro = start_headless_intro({.screen = screen}, &error);
  if (!intro) {
    std::fprintf(stderr, "no device: %s\n", error.c_str());
    return 1;
  }
  const Renderer& r = *intro->renderer;
  for (int i = 4; i < argc; ++i) {
    int row = std::atoi(argv[i]);
    double seconds = (row + 0.5) / 16.0;
    render_frame_at(*intro, static_cast<uint32_t>(seconds * 44100.0));
    std::vector<uint8_t> scene = to_display(intro->device->read_rgba16f(r.renderTex, 0));
    std::vector<uint8_t> frame = back_buffer_pixels(*intro);
    std::string base = dir + "/row_" + std::to_string(row);
    stbi_write_png((base + "_scene.png").c_str(), r.renderWidth, r.renderHeight, 4, scene.data(),
                   r.renderWidth * 4);
    stbi_write_png((base + "_frame.png").c_str(), screen.width, screen.height, 4, frame.data(), screen.width * 4);
    std::printf("row %d (%.3f s) -> %s_*.png\n", row, seconds, base.c_str());
  }
  stop_headless_intro(*intro);
  return 0;
}
