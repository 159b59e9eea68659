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

// The cloud layer drifts with time over the plane of the clouds.
float2 cloud_drift(float2 c) { return c + 100.0 + 0.05 * time; }
float cloud_layer(float2 drifted) { return cloud_cover(fbm(float3(drifted, 0.1 * time))); }

// Colour of the clouds of cover c1 at a drifted point, lit by how much
// thinner the layer is a little towards the sun.
float3 cloud_colour(float2 drifted, float3 sun, float cover) {
  // Without cover the thinning term max(c1 - c2, 0) is zero whatever c2 is.
  float thinning = cover > 0.0 ? max(cover - cloud_layer(drifted + 0.05 * sun.xz), 0.0) : 0.0;
  return 0.25 * (float3(3.0, 2.85, 2.7) * thinning + float3(0.9, 0.95, 1.0) * exp(-5.0 * cover));
}

float3 aurora(float2 c, float3 w) {
  float g = cloud_cover(fbm(float3(0.125 * c.x + 100.0, 0.5 * c.y + 100.0, 0.1 * time)));
  float band = exp(-10.0 * (0.5 + 0.5 * cos(4.0 * 3.14 * g)));
  float a = w.x - 0.2 * time;
  return 0.1 * band *
         float3(value_noise3(float3(a, a, a)), value_noise3(w.yyy), value_noise3(w.zzz));
}

// Background colour along the view direction d (not the logo: that belongs
// to misses only, never to the fog). The layers are added with weights that
// are often exactly zero (below the horizon, before sunset, under a clear
// sky); a layer is only computed where its weight is not, which gives the
// same colour as adding it with weight zero.
float3 scene_background(float3 d, Texture2D<float4> sky, SamplerState wrap) {
  float3 s = sun_direction();
  float3 w = normalize(-d);
  float3 day = day_sky(w, sky, wrap);
  float day_clouds = ease(saturate(-w.y / 0.15));
  float night_layer = ease(saturate(2.5 * d.y)) * ease(saturate(-(s.y + 0.05) / 0.15));
  if (day_clouds == 0.0 && night_layer == 0.0) return day;

  float2 c = w.xz / away_from_zero(w.y);
  float2 drifted = cloud_drift(c);
  float cover = cloud_layer(drifted);
  float3 cloud = 0.0;
  if (cover > 0.0) {
    cloud = cloud_colour(drifted, s, cover);
    day = lerp(day, cloud, saturate(0.4 * cover) * day_clouds);
  }
  if (night_layer == 0.0) return day;

  Moon moon = crescent_moon(w);
  float3 night = moon.colour + star_layers(w) * (1.0 - moon.disc);
  if (cover > 0.0) night = lerp(night, cloud, saturate(3.0 * cover));
  return day + night_layer * (night + aurora(c, w));
}

#endif
