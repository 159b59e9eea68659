#include "tools/kernel_reference/reference_scattering.h"

#include <cmath>

#include "tools/kernel_reference/reference_maths.h"
#include "tools/kernel_reference/reference_scene.h"

namespace reference {

namespace {

bool sun_visible(const CubeField& field, Vec3 p, Vec3 s) {
  double t = 0.01;
  for (int i = 0; i < 64; ++i) {
    double f = field_distance(field, p + s * t);
    if (std::fabs(f) < 0.01) break;
    t += f;
    if (t > 10) break;
  }
  return t >= 10;
}

// Where the sun ray from p crosses the logo plane z = time + 2, and how much
// logo it finds there (its height from the camera ray alone).
double logo_cover(const UniformBuffer& u, const Image& logo, Vec3 p, double ray_height, Vec3 s, double* t) {
  *t = (u.time + 2 - p.z) / s.z;
  if (!(*t > 0)) return 0;
  Vec2 at{(p.x + s.x * *t) * -0.41666666 + 0.45, (ray_height + s.y * *t) * -1.691332 + 1.9};
  return std::pow(std::fabs(sample_bilinear(logo, at, Address::Border).w), 2.2);
}

bool logo_shadows(const UniformBuffer& u, const Image& logo, Vec3 p, double ray_height, Vec3 s,
                  double scene_distance) {
  double t;
  double cover = logo_cover(u, logo, p, ray_height, s, &t);
  return t > 0 && t < scene_distance && cover > 0;
}

struct Sample {
  Vec3 p, ray;
};

// The five sample points of pixel (x, y), and the scene distance.
double samples(const UniformBuffer& u, const ScatteringInputs& in, int x, int y, Sample out[5]) {
  Vec3 d = camera_ray(u, x, y);
  double distance = sample_bilinear(*in.scene, {x * u.invRes.x, y * u.invRes.y}, Address::Clamp).w;
  double jitter = in.blue_noise->texel(x % 64, y % 64).x;
  for (int k = 0; k < 5; ++k) {
    out[k].ray = d * (distance * (0.2 * k + 0.2 * jitter));
    out[k].p = Vec3{u.camPos.x, u.camPos.y, u.camPos.z} + out[k].ray;
  }
  return distance;
}

}  // namespace

int lit_samples(const UniformBuffer& u, const ScatteringInputs& in, int x, int y) {
  Sample sample[5];
  double distance = samples(u, in, x, y, sample);
  Vec3 s = sun_direction(u.sunTime);
  CubeField field = make_cube_field(double(u.time) + u.plasmaOffset, u.cubesRepeat);
  int lit = 0;
  for (const Sample& k : sample)
    lit += sun_visible(field, k.p, s) && !logo_shadows(u, *in.logo, k.p, k.ray.y, s, distance);
  return lit;
}

int logo_crossings_beyond_scene(const UniformBuffer& u, const ScatteringInputs& in, int x, int y) {
  Sample sample[5];
  double distance = samples(u, in, x, y, sample);
  Vec3 s = sun_direction(u.sunTime);
  int crossings = 0;
  for (const Sample& k : sample) {
    double t;
    crossings += logo_cover(u, *in.logo, k.p, k.ray.y, s, &t) > 0 && t >= distance;
  }
  return crossings;
}

Vec3 scattering_pixel(const UniformBuffer& u, const ScatteringInputs& in, int x, int y) {
  Vec3 d = camera_ray(u, x, y);
  Vec3 s = sun_direction(u.sunTime);
  double b = clamp01(1.9604 - 1.96 * dot(s, d));
  double phase = 0.0396 / (4 * kPi * std::pow(b, 1.5));
  double fade = ease(clamp01(10 * s.y));
  return Vec3{1.0, 0.7, 0.5} * (2 * lit_samples(u, in, x, y) * phase * fade);
}

}  // namespace reference
