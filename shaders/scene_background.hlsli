// What the first scene shows where no surface is, and what its fog fades
// to: the day sky panorama with clouds, and after sunset a night layer with
// a crescent moon, two star layers, clouds lit from below and aurora bands.
#ifndef SCENE_BACKGROUND_HLSLI
#define SCENE_BACKGROUND_HLSLI

#include "common.hlsli"
#include "value_noise.hlsli"

// A divisor kept away from zero with its sign: rays exactly in the plane of
// a projection would otherwise turn the whole sky colour into NaN, although
// their layer is faded out there anyway.
float away_from_zero(float x) {
  const float tiny = 1.0e-6;
  return abs(x) < tiny ? (x < 0.0 ? -tiny : tiny) : x;
}

// The panorama stores direction v at the texel that this lookup reaches for
// -v, so looking it up with w = -d gives the sky of the view direction d.
float3 day_sky(float3 w, Texture2D<float4> sky, SamplerState wrap) {
  float2 uv = float2(atan2(w.z, w.x) / (2.0 * PI), acos(w.y) / PI);
  return sky.SampleLevel(wrap, uv, 0).rgb;
}

struct Moon {
  float3 colour;
  float disc;  // k_A: hides the stars behind the moon
};

// Crescent: one disc minus a slightly shifted, slightly larger one.
Moon crescent_moon(float3 w) {
  const float3 lit = float3(0.8804509, -0.17609018, 0.44022545);
  const float3 shadow = float3(0.8661287, -0.18160763, 0.46566057);
  Moon m;
  m.disc = ease(saturate((dot(w, lit) - 0.999) * 10000.0));
  float outside_shadow = ease(saturate((dot(w, shadow) - 0.9991) * -10000.0));
  m.colour = float3(10.0, 9.0, 6.0) * m.disc * outside_shadow;
  return m;
}

float3 star_layers(float3 w) {
  float2 plane = w.xy / away_from_zero(w.z);
  float fine = 2.0 * star_noise(plane * 800.0 + 10000.0) - 1.0;
  float coarse = 2.0 * star_noise(plane * 300.0 + 10000.0) - 1.0;
  return ease(saturate((fine - 0.95) * 20.0)) * float3(10.0, 8.5, 7.5) +
         ease(saturate((coarse - 0.98) * 50.0)) * float3(7.0, 8.5, 10.0);
}

float cloud_cover(float f) { return saturate(1.5 * f - 0.5); }

// Cloud layer seen along w: its cover c1 and its colour, lit by how much
// thinner the layer is a little towards the sun.
void clouds(float2 c, float3 sun, out float cover, out float3 colour) {
  float2 drift = c + 100.0 + 0.05 * time;
  cover = cloud_cover(fbm(float3(drift, 0.1 * time)));
  float towards_sun = cloud_cover(fbm(float3(drift + 0.05 * sun.xz, 0.1 * time)));
  colour = 0.25 * (float3(3.0, 2.85, 2.7) * max(cover - towards_sun, 0.0) +
                   float3(0.9, 0.95, 1.0) * exp(-5.0 * cover));
}

float3 aurora(float2 c, float3 w) {
  float g = cloud_cover(fbm(float3(0.125 * c.x + 100.0, 0.5 * c.y + 100.0, 0.1 * time)));
  float band = exp(-10.0 * (0.5 + 0.5 * cos(4.0 * 3.14 * g)));
  float a = w.x - 0.2 * time;
  return 0.1 * band *
         float3(value_noise3(float3(a, a, a)), value_noise3(w.yyy), value_noise3(w.zzz));
}

// Background colour along the view direction d (not the logo: that belongs
// to misses only, never to the fog).
float3 scene_background(float3 d, Texture2D<float4> sky, SamplerState wrap) {
  float3 s = sun_direction();
  float3 w = normalize(-d);
  float3 day = day_sky(w, sky, wrap);
  Moon moon = crescent_moon(w);
  float3 night = moon.colour + star_layers(w) * (1.0 - moon.disc);

  float2 c = w.xz / away_from_zero(w.y);
  float cover;
  float3 cloud;
  clouds(c, s, cover, cloud);
  night = lerp(night, cloud, saturate(3.0 * cover));
  day = lerp(day, cloud, saturate(0.4 * cover) * ease(saturate(-w.y / 0.15)));

  float above_horizon = ease(saturate(2.5 * d.y));
  float after_sunset = ease(saturate(-(s.y + 0.05) / 0.15));
  return day + above_horizon * after_sunset * (night + aurora(c, w));
}

#endif
