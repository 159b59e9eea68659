#include "tools/kernel_reference/reference_sky.h"

#include <algorithm>
#include <cmath>

#include "tools/kernel_reference/reference_maths.h"
#include "tools/kernel_reference/reference_scene.h"

namespace reference {

namespace {

constexpr double kGround = 6360000.0, kAtmosphere = 6420000.0;
constexpr Vec3 kEye{0.0, 6360800.0, 0.0};
constexpr Vec3 kRayleigh{3.8e-6, 13.5e-6, 33.1e-6};
constexpr double kMie = 21e-6;

// Nearest and farthest t where the ray o + t d meets a sphere around the
// origin; false when it misses.
bool sphere_hits(Vec3 o, Vec3 d, double radius, double* t_near, double* t_far) {
  double b = 2 * dot(o, d);
  double disc = b * b - 4 * (dot(o, o) - radius * radius);
  if (disc < 0) return false;
  *t_near = (-b - std::sqrt(disc)) / 2;
  *t_far = (-b + std::sqrt(disc)) / 2;
  return true;
}

Vec3 exp3(Vec3 v) { return {std::exp(v.x), std::exp(v.y), std::exp(v.z)}; }

double rayleigh_density(Vec3 p) { return std::exp(-(length(p) - kGround) / 7994.0); }
double mie_density(Vec3 p) { return std::exp(-(length(p) - kGround) / 1200.0); }

}  // namespace

Vec3 sky_sun(double sun_time) {
  Vec3 s = sun_direction(sun_time);
  return {std::max(s.x, -1.0), std::max(s.y, -0.1), std::max(s.z, -1.0)};
}

Vec3 sky_direction(int x, int y) {
  double theta = (y / 256.0 - 1) * kPi / 2, phi = (x / 256.0 - 1) * kPi;
  return {std::cos(theta) * std::cos(phi), std::sin(theta), std::cos(theta) * std::sin(phi)};
}

Vec3 sky_colour(Vec3 d, Vec3 s) {
  double mu = dot(d, s);
  double p_rayleigh = 3 / (16 * kPi) * (1 + mu * mu);
  double p_mie = 0.050420284 * (1 + mu * mu) / (2.5776 * std::pow(1.5776 - 1.52 * mu, 1.5));

  double t_near, t_far, g_near, g_far;
  sphere_hits(kEye, d, kAtmosphere, &t_near, &t_far);
  t_near = std::max(t_near, 0.0);
  double t_ground = 9.999e12;
  if (sphere_hits(kEye, d, kGround, &g_near, &g_far) && g_near > 0) t_ground = g_near;
  double step = (std::min(t_far, t_ground) - t_near) / 64;
  Vec3 p0 = kEye + d * t_near;
  double unused, to_sky;
  sphere_hits(p0, d, kAtmosphere, &unused, &to_sky);
  double light_step = to_sky / 12;

  double depth_r = 0, depth_m = 0;
  Vec3 sum_r, sum_m;
  for (int i = 0; i < 64; ++i) {
    Vec3 p = p0 + d * (i * step);
    double dr = rayleigh_density(p) * step, dm = mie_density(p) * step;
    depth_r += dr;
    depth_m += dm;
    double light_r = 0, light_m = 0;
    for (int j = 0; j < 12; ++j) {
      Vec3 q = p + s * (j * light_step);
      light_r += rayleigh_density(q) * light_step;
      light_m += mie_density(q) * light_step;
    }
    Vec3 tau = kRayleigh * (depth_r + light_r) + Vec3{kMie, kMie, kMie} * (depth_m + light_m);
    Vec3 attenuation = exp3(tau * -1.0);
    sum_r += attenuation * dr;
    sum_m += attenuation * dm;
  }
  double disc = ease(clamp01((mu - 0.9999) * 11111.111));
  Vec3 scattered = (kRayleigh * sum_r) * (5.0 * p_rayleigh) + sum_m * (5.0 * p_mie * kMie);
  return scattered + sum_r * Vec3{20 * kRayleigh.x, 6 * kRayleigh.y, 2 * kRayleigh.z} * disc;
}

}  // namespace reference
