#include "tools/kernel_lab/lab_inputs.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "tools/kernel_reference/reference_maths.h"
#include "tools/kernel_reference/reference_scene.h"

namespace kernel_lab {

using reference::Vec3;

ByteImage load_asset(const std::string& name) {
  std::string path = std::string(VELMORAND_SOURCE_DIR) + "/assets/" + name + ".png";
  int w = 0, h = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &channels, 4);
  if (!pixels) return {};
  ByteImage image{w, h, std::vector<uint8_t>(pixels, pixels + size_t(w) * h * 4)};
  stbi_image_free(pixels);
  return image;
}

ByteImage stand_in_logo(int width, int height) {
  ByteImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double u = 2.0 * x / width - 1, v = 2.0 * y / height - 1, r = std::hypot(u, v);
      double a = std::clamp((0.9 - r) * 20, 0.0, 1.0) * std::clamp((r - 0.35) * 20, 0.0, 1.0);
      uint8_t* p = &image.rgba[(size_t(y) * width + x) * 4];
      p[0] = 255, p[1] = uint8_t(120 + 100 * u), p[2] = uint8_t(60 + 60 * v), p[3] = uint8_t(255 * a);
    }
  return image;
}

ByteImage stand_in_noise() {
  std::mt19937 random(1);
  ByteImage image{64, 64, std::vector<uint8_t>(64 * 64 * 4)};
  for (uint8_t& b : image.rgba) b = uint8_t(random() & 255);
  return image;
}

UniformBuffer shaft_camera(int render_width, int render_height) {
  UniformBuffer u{};
  u.invRes = {1.0f / render_width, 1.0f / render_height};
  u.time = 6.3f;
  u.camPos = {0.0f, 1.6f, 0.0f};
  u.camTarget = {0.15f, 0.02f, 1.0f};
  u.camFov = 1.4f;
  u.sunTime = 1.3f;
  u.cubesRepeat = 3.0f;
  return u;
}

namespace {

// Sphere-traces the cube field; 30 when nothing is hit.
double trace(const reference::CubeField& field, Vec3 o, Vec3 d) {
  double t = 0;
  for (int i = 0; i < 160 && t < 30; ++i) {
    double f = reference::field_distance(field, o + d * t);
    if (f < 0.002) return t;
    t += f;
  }
  return 30;
}

}  // namespace

reference::Image traced_scene(const UniformBuffer& u, int width, int height) {
  reference::CubeField field = reference::make_cube_field(double(u.time) + u.plasmaOffset, u.cubesRepeat);
  Vec3 eye{u.camPos.x, u.camPos.y, u.camPos.z};
  reference::Image scene(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Vec3 d = reference::camera_ray(u, x, y);
      double t = trace(field, eye, d);
      double shade = t >= 30 ? 0.6 : 0.25 + 0.5 * std::exp(-0.1 * t);
      scene.set(x, y, {shade, shade, shade * 1.1, t});
    }
  return scene;
}

reference::Image bright_test_image(int width, int height) {
  reference::Image image(width, height);
  const double discs[][5] = {{0.2, 0.3, 0.03, 4.0, 3.0}, {0.5, 0.5, 0.06, 2.0, 2.0}, {0.8, 0.7, 0.015, 8.0, 6.0}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double u = double(x) / width, v = double(y) / height, aspect = double(width) / height;
      Vec3 c{0.05 + 0.2 * u, 0.05, 0.08 + 0.2 * v};
      for (const auto& d : discs)
        if (std::hypot((u - d[0]) * aspect, v - d[1]) < d[2]) c = Vec3{d[3], d[4], d[3] * 0.5};
      if (std::abs(y - height * 3 / 4) < 1 && u > 0.1 && u < 0.6) c = Vec3{3.0, 3.0, 3.0};
      if (std::abs(x - width * 9 / 10) < 1) c = Vec3{0.4, 1.2, 3.0};
      image.set(x, y, {c.x, c.y, c.z, 1.0});
    }
  return image;
}

}  // namespace kernel_lab
