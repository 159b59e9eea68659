// velmorand-kernel-pictures OUTDIR [PROGRAM_DIR]: PNG pictures of what the sky, sun
// shafts, lens dirt, bloom chain and logo particles draw at 640x360, to be
// looked at.
#include <cstdio>
#include <string>

#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_lab/lab_passes.h"
#include "tools/kernel_lab/png_out.h"

namespace {

struct Writer {
  kernel_rig::KernelRig& rig;
  std::string dir;
  bool ok = true;
  void operator()(const std::string& name, gpu::Texture t, double exposure, int level = 0) {
    ok = kernel_lab::write_tone_mapped(dir + "/" + name + ".png", rig.read(t, level), exposure) && ok;
  }
};

void skies(kernel_lab::LabPasses& lab, Writer& write) {
  const std::pair<const char*, float> suns[] = {
      {"sky_dawn", 0.12f}, {"sky_noon", 1.5707964f}, {"sky_dusk", 3.0215926f}, {"sky_night", -1.5707964f}};
  for (auto [name, sun_time] : suns) {
    lab.sky(sun_time);
    write(name, lab.sky_texture(), 4.0);
  }
}

void particles(kernel_lab::LabPasses& lab, Writer& write) {
  for (int step = 0; step <= 48; ++step) {
    lab.particles(step == 0);
    // The shade shows the state the step read: the picture of step n is
    // the field after n - 1 steps.
    if (step % 8 == 1) write("particles_" + std::to_string(step - 1), lab.render_texture(), 1.0);
  }
  lab.bloom(lab.render_texture());
  write("particles_bloom", lab.bloom_texture(), 1.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fputs(
        "usage: velmorand-kernel-pictures OUTDIR [PROGRAM_DIR]\n"
        "  PROGRAM_DIR: take <PROGRAM_DIR>/<program>.spv where it exists\n",
        stderr);
    return 2;
  }
  std::string error;
  auto device = gpu::create_device({.width = 16, .height = 16}, &error);
  if (!device) {
    std::fprintf(stderr, "velmorand-kernel-pictures: %s\n", error.c_str());
    return 1;
  }
  kernel_rig::KernelRig rig(*device, argc == 3 ? argv[2] : "");
  kernel_lab::LabPasses lab(rig, 640, 360);
  Writer write{rig, argv[1]};
  skies(lab, write);
  lab.scattering();
  write("shafts", lab.scattering_texture(), 4.0);
  write("bloom_source", lab.bright_test_texture(), 1.0);
  lab.bloom(lab.bright_test_texture());
  for (int level = 0; level < kernel_lab::bloom_levels(640, 360); ++level)
    write("bloom_level" + std::to_string(level), lab.bloom_texture(), 1.0, level);
  particles(lab, write);
  lab.lens_dirt();
  write("lens_dirt", lab.dirt_texture(), 1.0);
  return write.ok ? 0 : 1;
}
