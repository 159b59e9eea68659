#pragma once
// The kernel passes of one frame at a screen size, bound and sized as the
// frame binds them (invRes per pass, group counts rounded down, the bloom
// chain's levels), on stand-alone inputs.

#include "tools/kernel_reference/kernel_rig.h"
#include "tools/kernel_lab/lab_inputs.h"

namespace kernel_lab {

// Bloom levels of a screen: the halvings of its half size down to a side of
// 1, less the three smallest.
int bloom_levels(int screen_width, int screen_height);

class LabPasses {
 public:
  LabPasses(kernel_rig::KernelRig& rig, int screen_width, int screen_height);

  void sky(float sun_time);
  void scattering();
  void lens_dirt();
  // Bright pass from `source` (render size), then down and up the chain.
  void bloom(gpu::Texture source);
  void bloom_bright_pass(gpu::Texture source);
  void bloom_down();
  void bloom_up();
  // Seeds the particle field from the logo, or moves it one step; then
  // colours it into the render texture.
  void particles(bool seed);

  gpu::Texture sky_texture() const { return sky_; }
  gpu::Texture scattering_texture() const { return scattering_; }
  gpu::Texture dirt_texture() const { return dirt_; }
  gpu::Texture bloom_texture() const { return bloom_; }
  gpu::Texture render_texture() const { return render_; }
  gpu::Texture bright_test_texture() const { return bright_test_; }
  gpu::Texture particle_state(bool written_last) const { return state_[ping_pong_ != written_last]; }
  int render_width() const { return render_w_; }
  int render_height() const { return render_h_; }

 private:
  void set_inv_res(double w, double h);

  kernel_rig::KernelRig& rig_;
  int screen_w_, screen_h_, render_w_, render_h_, levels_;
  UniformBuffer block_;
  gpu::Texture sky_, scene_, scattering_, dirt_, bloom_, render_, bright_test_, logo_, banner_, noise_;
  gpu::Texture state_[2];
  bool ping_pong_ = false;
};

}  // namespace kernel_lab
