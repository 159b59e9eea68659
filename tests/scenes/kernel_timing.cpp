// Measures the GPU time of a scene kernel at chosen rows of the choreography:
// the runtime renders the row once (constant block, sky panorama, images),
// then the kernel runs alone on the render texture, timed, and the median of
// the timed runs after two warm-up runs is printed. Extra SPIR-V files can be
// timed in the same loop, alternating with the linked program, so that a
// change is compared under the same machine load. A measurement, not a test.
//
//   scene_kernel_timing WIDTH HEIGHT RUNS ROW [LABEL=FILE.spv ...]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
  std::vector<double> ms;       // GPU timestamps
  std::vector<double> wall_ms;  // dispatch to finished, on the host
  std::vector<double> cpu_ms;   // processor time of all of lavapipe's threads
  std::vector<float> picture;   // the render texture after its first run
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

struct Timing {
  double gpu_ms, wall_ms, cpu_ms;
};

double process_cpu_ms() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  auto ms = [](timeval t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

// Three clocks: lavapipe's timestamps now and then come back near zero for a
// dispatch that clearly ran, so the host's wait for the finished frame is
// kept as a cross-check (it adds only the submission); on a machine shared
// with other jobs both stretch with the load, while the processor time that
// lavapipe's threads spend on the dispatch does not.
Timing time_once(Renderer& r, gpu::Shader program) {
  gpu::Device& d = r.device;
  auto start = std::chrono::steady_clock::now();
  double cpu_start = process_cpu_ms();
  d.cs_set_shader(program);
  d.cs_set_unordered_access_views(0, std::array{r.renderUav});
  d.cs_set_shader_resources(0, std::array{r.skySrv, r.bannerSrv, r.blueNoiseSrv, r.vlmArmySrv});
  d.dispatch(r.renderWidth / 16, r.renderHeight / 8, 1);
  d.present(0);
  double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  auto timings = d.last_frame_timings();
  return {timings.empty() ? 0.0 : timings.back().milliseconds, wall, process_cpu_ms() - cpu_start};
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
      Timing t = time_once(r, v.program);
      if (k == 0) v.picture = r.device.read_rgba16f(r.renderTex, 0);
      if (k >= 2) v.ms.push_back(t.gpu_ms);
      if (k >= 2) v.wall_ms.push_back(t.wall_ms);
      if (k >= 2) v.cpu_ms.push_back(t.cpu_ms);
    }
  for (const Variant& v : variants) {
    size_t differing = 0;
    float largest = 0;
    for (size_t i = 0; i < v.picture.size(); ++i) {
      float d = std::fabs(v.picture[i] - variants[0].picture[i]);
      differing += d != 0;
      largest = std::max(largest, d);
    }
    std::printf(
        "%dx%d row %d %s: median %.1f ms GPU, %.1f ms host, %.1f ms processor, over %d runs; "
        "%zu values differ from %s (at most %g)\n",
        r.renderWidth, r.renderHeight, row, v.label.c_str(), median(v.ms), median(v.wall_ms), median(v.cpu_ms),
        runs, differing, variants[0].label.c_str(), largest);
  }
  stop_headless_intro(*intro);
  return 0;
}
