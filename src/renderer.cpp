#include "src/renderer.h"

#include <cstdint>
#include <vector>

Renderer::Renderer(gpu::Device& d, Size screen)
    : device(d), screenWidth(screen.width), screenHeight(screen.height) {}

void upload_uniforms(Renderer& r) {
  r.device.update_subresource(r.uniformBuffer, {reinterpret_cast<const uint8_t*>(&r.uniforms), sizeof r.uniforms});
}

void reset_particle_field(Renderer& r) {
  std::vector<uint8_t> zeros(static_cast<size_t>(r.renderWidth) * r.renderHeight * 8, 0);
  for (gpu::Texture t : r.particleStateTex)
    r.device.update_subresource(t, zeros, static_cast<uint32_t>(r.renderWidth) * 8);
}

namespace {

// Why a screen of `size` is beyond a device's largest image side `limit`
// (0: no limit known); empty when it is not.
std::string beyond_limit(Size size, int limit, const std::string& device) {
  if (limit <= 0 || (size.width <= limit && size.height <= limit)) return "";
  return "the size " + size_text(size) + " is beyond what " + device + " allows: at most " +
         std::to_string(limit) + " pixels a side";
}

}  // namespace

std::string size_problem(const Renderer& r) {
  const Size screen{r.screenWidth, r.screenHeight};
  const std::string adapter = r.device.adapter_name();
  std::string problem = beyond_limit(screen, r.device.max_image_side(), "the device (" + adapter + ")");
  if (!problem.empty()) return problem;
  const bool all_targets = r.backBuffer && r.renderTex && r.bloomTex && r.scatteringTex && r.skyTex && r.dirtTex &&
                           r.particleStateTex[0] && r.particleStateTex[1];
  return all_targets ? "" : "the device could not make every image at " + size_text(screen);
}
