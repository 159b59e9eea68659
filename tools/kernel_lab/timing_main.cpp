// velmorand-kernel-timing: the time of each kernel pass of the sky, sun
// shafts, lens dirt, bloom chain and logo particles at 640x360 and 1280x720
// on this machine's Vulkan device.
//
// Each pass runs alone in a frame of its own and is timed from recording to
// the end of the frame, less an empty frame: lavapipe's timestamps miss most
// of the work of compute passes, and on a CPU device a pass costs the same
// alone as inside the frame. Two clocks: the wall clock, and the CPU time of
// the whole process (all of the device's worker threads), which other
// programs on a busy machine disturb far less. The figures are medians over
// several runs after a warm-up (the first use of a texture or pipeline costs
// extra). Programs from other folders are timed in the same loop, in turn
// with the built-in ones, so that a change is compared under the same load;
// the particle field each set makes over 40 steps is compared bit for bit.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "src/elapsed_time.h"
#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_lab/lab_passes.h"

namespace {

const char kUsage[] =
    "usage: velmorand-kernel-timing [--programs DIR]... [--only PASS] [FRAMES [WARMUP]]   (defaults 7 and 2)\n"
    "  --programs DIR   also time <DIR>/<program>.spv (the built-in program where none exists),\n"
    "                   in turn with the built-in programs; may be given more than once\n"
    "  --only PASS      time only the passes whose name contains PASS\n";

struct Options {
  std::vector<std::string> programs{""};  // "" is the built-in set
  std::string only;
  int frames = 7, warmup = 2;
};

struct Pass {
  std::string name;
  std::function<void(kernel_lab::LabPasses&)> run;
};

const std::vector<Pass>& passes() {
  static const std::vector<Pass> list = {
      {"SkyKernel", [](kernel_lab::LabPasses& p) { p.sky(1.0f); }},
      {"ScatteringKernel", [](kernel_lab::LabPasses& p) { p.scattering(); }},
      {"LensDirtPS", [](kernel_lab::LabPasses& p) { p.lens_dirt(); }},
      {"bloom bright pass", [](kernel_lab::LabPasses& p) { p.bloom_bright_pass(p.bright_test_texture()); }},
      {"bloom down", [](kernel_lab::LabPasses& p) { p.bloom_down(); }},
      {"bloom up", [](kernel_lab::LabPasses& p) { p.bloom_up(); }},
      {"particle step+shade", [](kernel_lab::LabPasses& p) { p.particles(false); }},
  };
  return list;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : 0.5 * (v[v.size() / 2 - 1] + v[v.size() / 2]);
}

struct Cost {
  double wall_ms = 0, cpu_ms = 0;
};

double process_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// From recording `record` to the end of its frame.
Cost frame_cost(gpu::Device& device, const std::function<void()>& record) {
  auto start = std::chrono::steady_clock::now();
  double cpu = process_cpu_ms();
  record();
  device.present(1);
  return {ms_since(start), process_cpu_ms() - cpu};
}

Cost median(const std::vector<Cost>& costs) {
  std::vector<double> wall, cpu;
  for (const Cost& c : costs) wall.push_back(c.wall_ms), cpu.push_back(c.cpu_ms);
  return {median(wall), median(cpu)};
}

// One set of programs with the passes bound on it.
struct Variant {
  std::unique_ptr<kernel_rig::KernelRig> rig;
  std::unique_ptr<kernel_lab::LabPasses> lab;
};

std::vector<Variant> variants(gpu::Device& device, const Options& o, int width, int height) {
  std::vector<Variant> list;
  for (const std::string& dir : o.programs) {
    auto rig = std::make_unique<kernel_rig::KernelRig>(device, dir);
    auto lab = std::make_unique<kernel_lab::LabPasses>(*rig, width, height);
    lab->particles(true);
    list.push_back({std::move(rig), std::move(lab)});
  }
  return list;
}

std::unique_ptr<gpu::Device> make_device() {
  std::string error;
  auto device = gpu::create_device({.width = 16, .height = 16}, &error);
  if (!device) {
    std::fprintf(stderr, "velmorand-kernel-timing: %s\n", error.c_str());
    std::exit(1);
  }
  return device;
}

// Per pass, per set of programs.
std::vector<std::vector<Cost>> measure(const Options& o, int width, int height) {
  auto device = make_device();
  std::vector<Variant> sets = variants(*device, o, width, height);
  std::vector<Cost> empty;
  for (int i = 0; i < o.warmup + o.frames; ++i) empty.push_back(frame_cost(*device, [] {}));
  Cost idle = median(empty);
  std::vector<std::vector<Cost>> result;
  for (const Pass& pass : passes()) {
    std::vector<std::vector<Cost>> runs(sets.size());
    for (int i = 0; pass.name.find(o.only) != std::string::npos && i < o.warmup + o.frames; ++i)
      for (size_t v = 0; v < sets.size(); ++v) {
        Cost c = frame_cost(*device, [&] { pass.run(*sets[v].lab); });
        if (i >= o.warmup) runs[v].push_back(c);
      }
    result.emplace_back();
    for (const auto& r : runs) {
      Cost m = r.empty() ? Cost{} : median(r);
      result.back().push_back({m.wall_ms - idle.wall_ms, m.cpu_ms - idle.cpu_ms});
    }
  }
  return result;
}

// How each set's particle field after a seed and 40 steps differs from the
// built-in set's.
void compare_particle_fields(const Options& o) {
  auto device = make_device();
  std::vector<Variant> sets = variants(*device, o, 640, 360);
  std::vector<reference::Image> fields;
  for (Variant& v : sets) {
    for (int step = 0; step < 40; ++step) v.lab->particles(false);
    fields.push_back(v.rig->read(v.lab->particle_state(true)));
  }
  for (size_t v = 1; v < sets.size(); ++v) {
    size_t differing = 0;
    for (size_t i = 0; i < fields[v].rgba.size(); ++i) differing += fields[v].rgba[i] != fields[0].rgba[i];
    std::printf("particle field after 40 steps, %s: %s\n", o.programs[v].c_str(),
                differing ? (std::to_string(differing) + " values differ from the built-in programs'").c_str()
                          : "bit for bit the built-in programs' field");
  }
}

bool parse(int argc, char** argv, Options* o) {
  std::vector<std::string> numbers;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--programs" && i + 1 < argc) o->programs.push_back(argv[++i]);
    else if (a == "--only" && i + 1 < argc) o->only = argv[++i];
    else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos) numbers.push_back(a);
    else return false;
  }
  if (numbers.size() > 2) return false;
  if (numbers.size() > 0) o->frames = std::atoi(numbers[0].c_str());
  if (numbers.size() > 1) o->warmup = std::atoi(numbers[1].c_str());
  return o->frames >= 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, &o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  auto small = measure(o, 640, 360), large = measure(o, 1280, 720);
  std::printf("ms, median of %d runs alone after %d%s\n", o.frames, o.warmup,
              o.programs.size() > 1 ? ", each set of programs in turn" : "");
  std::printf("%-20s %-24s %10s %10s %10s %10s\n", "", "", "640x360", "", "1280x720", "");
  std::printf("%-20s %-24s %10s %10s %10s %10s\n", "pass", "programs", "wall", "cpu", "wall", "cpu");
  for (size_t i = 0; i < passes().size(); ++i)
    for (size_t v = 0; v < o.programs.size() && passes()[i].name.find(o.only) != std::string::npos; ++v)
      std::printf("%-20s %-24s %10.2f %10.2f %10.2f %10.2f\n", passes()[i].name.c_str(),
                  o.programs[v].empty() ? "built-in" : o.programs[v].c_str(), small[i][v].wall_ms,
                  small[i][v].cpu_ms, large[i][v].wall_ms, large[i][v].cpu_ms);
  if (o.programs.size() > 1 && std::string("particle step+shade").find(o.only) != std::string::npos)
    compare_particle_fields(o);
  return 0;
}
