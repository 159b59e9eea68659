// Measures the GPU time of a scene kernel at chosen rows of the choreography:
// the runtime renders the row once (constant block, sky panorama, images),
// then the kernel runs alone on the render texture, timed, and the median of
// the timed runs after two warm-up runs is printed. Extra SPIR-V files can be
// timed in the same loop, alternating with the linked program, so that a
// change is compared under the same machine load. A measurement, not a test.
//
//   scene_kernel_timing WIDTH HEIGHT RUNS ROW [LABEL=FILE.spv ...]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "src/gpu_setup.h"
#include "src/headless_intro.h"

namespace {

struct Variant {
  std::string label;
  gpu::Shader program;
  std::vector<double> ms;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

double time_once(Renderer& r, gpu::Shader program) {
  gpu::Device& d = r.device;
  d.cs_set_shader(program);
  d.cs_set_unordered_access_views(0, std::array{r.renderUav});
  d.cs_set_shader_resources(0, std::array{r.skySrv, r.bannerSrv, r.blueNoiseSrv, r.vlmArmySrv});
  d.dispatch(r.renderWidth / 16, r.renderHeight / 8, 1);
  d.present(0);
  auto timings = d.last_frame_timings();
  return timings.empty() ? 0.0 : timings.back().milliseconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT RUNS ROW [LABEL=FILE.spv ...]\n", argv[0]);
    return 2;
  }
  Size screen{std::atoi(argv[1]), std::atoi(argv[2])};
  int runs = std::max(1, std::atoi(argv[3]));
  int row = std::atoi(argv[4]);
  std::string error;
  auto intro = start_headless_intro({.screen = screen, .timing = true}, &error);
  if (!intro) {
    std::fprintf(stderr, "no device: %s\n", error.c_str());
    return 1;
  }
  Renderer& r = *intro->renderer;
  render_frame_at(*intro, static_cast<uint32_t>((row + 0.5) / 16.0 * 44100.0));
  r.uniforms.invRes = {1.0f / float(r.renderWidth), 1.0f / float(r.renderHeight)};
  upload_uniforms(r);

  std::vector<Variant> variants{{row < 1406 ? "SceneKernel" : "FinaleKernel", {}, {}}};
  variants[0].program = row < 1406 ? r.SceneKernel : r.FinaleKernel;
  std::vector<std::vector<uint8_t>> codes;
  codes.reserve(argc);
  for (int i = 5; i < argc; ++i) {
    std::string arg = argv[i];
    size_t eq = arg.find('=');
    codes.push_back(read_file(arg.substr(eq + 1)));
    variants.push_back({arg.substr(0, eq), {}, {}});
    variants.back().program = r.device.create_shader({.code = codes.back(), .label = "variant"});
  }
  for (int k = 0; k < runs + 2; ++k)
    for (Variant& v : variants) {
      double ms = time_once(r, v.program);
      if (k >= 2) v.ms.push_back(ms);
    }
  for (const Variant& v : variants)
    std::printf("%dx%d row %d %s: median %.1f ms over %d runs\n", r.renderWidth, r.renderHeight, row,
                v.label.c_str(), median(v.ms), runs);
  stop_headless_intro(*intro);
  return 0;
}
