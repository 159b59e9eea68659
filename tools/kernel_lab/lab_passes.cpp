#include "tools/kernel_lab/lab_passes.h"

namespace kernel_lab {

int bloom_levels(int screen_width, int screen_height) {
  int w = screen_width / 2, h = screen_height / 2, n = 1;
  while (w > 1 && h > 1) w /= 2, h /= 2, ++n;
  return n - 3;
}

namespace {

gpu::Texture asset_texture(kernel_rig::KernelRig& rig, const std::string& name, const ByteImage& stand_in) {
  ByteImage image = load_asset(name);
  if (image.rgba.empty()) image = stand_in;
  return rig.byte_texture(image.width, image.height, image.rgba);
}

}  // namespace

LabPasses::LabPasses(kernel_rig::KernelRig& rig, int screen_width, int screen_height)
    : rig_(rig),
      screen_w_(screen_width),
      screen_h_(screen_height),
      render_w_(screen_width > 1920 ? 1920 : screen_width),
      render_h_(screen_width > 1920 ? screen_height * 1920 / screen_width : screen_height),
      levels_(bloom_levels(screen_width, screen_height)) {
  block_ = shaft_camera(render_w_, render_h_);
  sky_ = rig_.target(512, 512);
  scene_ = rig_.half_texture(traced_scene(block_, render_w_, render_h_));
  scattering_ = rig_.target(render_w_, render_h_);
  dirt_ = rig_.target(screen_w_, screen_h_);
  bloom_ = rig_.target(screen_w_ / 2, screen_h_ / 2, levels_);
  render_ = rig_.target(render_w_, render_h_);
  bright_test_ = rig_.half_texture(bright_test_image(render_w_, render_h_));
  logo_ = asset_texture(rig_, "logo", stand_in_logo(1305, 567));
  banner_ = asset_texture(rig_, "banner", stand_in_logo(1920, 473));
  noise_ = asset_texture(rig_, "blue_noise", stand_in_noise());
  state_[0] = rig_.target(render_w_, render_h_);
  state_[1] = rig_.target(render_w_, render_h_);
}

void LabPasses::set_inv_res(double w, double h) {
  block_.invRes = {float(1 / w), float(1 / h)};
  rig_.upload(block_);
}

void LabPasses::sky(float sun_time) {
  UniformBuffer block = block_;  // the shafts keep their own sun
  block.sunTime = sun_time;
  block.invRes = {1.0f / screen_w_, 1.0f / screen_h_};
  rig_.upload(block);
  rig_.dispatch("SkyKernel", {}, sky_, 64, 64);
}

void LabPasses::scattering() {
  set_inv_res(render_w_, render_h_);
  rig_.dispatch("ScatteringKernel", {scene_, banner_, noise_}, scattering_, render_w_ / 8, render_h_ / 8);
}

void LabPasses::lens_dirt() {
  set_inv_res(screen_w_, screen_h_);
  rig_.draw("LensDirtPS", {}, 0, dirt_, 0, {0, 0, float(screen_w_), float(screen_h_), 0, 1}, false);
}

void LabPasses::bloom(gpu::Texture source) {
  bloom_bright_pass(source);
  bloom_down();
  bloom_up();
}

void LabPasses::bloom_bright_pass(gpu::Texture source) {
  set_inv_res(screen_w_, screen_h_);
  float w = float(screen_w_ / 2), h = float(screen_h_ / 2);
  rig_.draw("BloomBrightPass", source, 0, bloom_, 0, {0, 0, w, h, 0, 1}, false);
}

// Level sizes are halved in float, untruncated, as invRes describes them.
void LabPasses::bloom_down() {
  float w = float(screen_w_ / 2), h = float(screen_h_ / 2);
  for (int i = 1; i < levels_; ++i) {
    w *= 0.5f, h *= 0.5f;
    set_inv_res(w, h);
    rig_.draw("BloomDownsample", bloom_, i - 1, bloom_, i, {0, 0, float(int(w)), float(int(h)), 0, 1}, false);
  }
}

void LabPasses::bloom_up() {
  float w = float(screen_w_ / 2), h = float(screen_h_ / 2);
  for (int i = 1; i < levels_ - 1; ++i) w *= 0.5f, h *= 0.5f;
  for (int i = levels_ - 2; i >= 0; --i) {
    set_inv_res(w, h);
    rig_.draw("BloomUpsample", bloom_, i + 1, bloom_, i, {0, 0, float(int(w)), float(int(h)), 0, 1}, true);
    w *= 2, h *= 2;
  }
}

void LabPasses::particles(bool seed) {
  block_.glitchCreditFactor = seed ? 100.0f : 101.0f;
  set_inv_res(render_w_, render_h_);
  gpu::Texture written = state_[ping_pong_], read = state_[!ping_pong_];
  rig_.dispatch("LogoParticleStep", {logo_, read}, written, render_w_ / 16, render_h_ / 8);
  rig_.dispatch("LogoParticleShade", {written, read}, render_, render_w_ / 16, render_h_ / 8);
  ping_pong_ = !ping_pong_;
}

}  // namespace kernel_lab
