#pragma once
// Building the renderer's GPU objects at start-up, in the order the intro
// always has: the black start-up frame first, then every texture, view,
// program and fixed state, the images, and the one-time lens-dirt drawing.

#include "src/renderer.h"

// Milliseconds spent in each part of create_gpu_resources, for the benchmark.
struct SetupTimings {
  double image_decode_ms = 0;
  double uploads_ms = 0;
  double programs_ms = 0;
  double lens_dirt_ms = 0;
};

// Takes the back buffer, makes its UAV, clears it to opaque black with
// ClearKernel and presents it, so a black screen stands during start-up.
void present_startup_clear(Renderer& r);

// Everything else of the set-up: sizes, the constant buffer, textures and
// views, the images, the programs, samplers, blend state, topology, and the
// lens-dirt texture drawn once. Leaves the bindings the frame passes rely on.
void create_gpu_resources(Renderer& r, SetupTimings* timings = nullptr);
