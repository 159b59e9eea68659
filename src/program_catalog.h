#pragma once
// The compiled GPU programs linked into the executable, by name.
#include <string_view>

#include "platform/gpu/gpu.h"

// The stage a program runs in follows its name: *VS vertex, *PS and Bloom*
// pixel, everything else compute.
gpu::Stage program_stage(std::string_view name);

// Creates the program of that name; a null handle (and the device's failure)
// when the executable carries none.
gpu::Shader create_program(gpu::Device& device, std::string_view name);
