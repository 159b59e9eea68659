#pragma once
// Hashes and value noises of the scene kernels, written from their
// definitions rather than from the programs, to check the programs against.
#include <cstdint>

#include "tests/scenes/reference/vec.h"

namespace ref {

// Float hash of one value, in [0, 1), and the same hash of a value already
// multiplied by 0.1031 (Hh(x) is hash_scaled(0.1031 x)).
float Hh(float x);
float hash_scaled(float scaled);
// Integer hash of two 32-bit values, in [0, 1).
float H(uint32_t a, uint32_t b);

// The cube pattern's 2D value noise.
float value_noise2(V2 p);
// The sky's 3D value noise and the six-octave sum built on it.
float value_noise3(V3 p);
float fbm(V3 p);
// The stars' 2D value noise with integer-hashed corners.
float star_noise(V2 p);

}  // namespace ref
