#pragma once
// The sky panorama: single Rayleigh and Mie scattering over a spherical
// planet, texel by texel.

#include "tools/kernel_reference/reference_vector.h"

namespace reference {

// The sun as the sky sees it: never lower than -0.1, not renormalised.
Vec3 sky_sun(double sun_time);

// Direction of texel (x, y) of the 512 x 512 panorama.
Vec3 sky_direction(int x, int y);

// Colour of the sky along d for the sun direction s.
Vec3 sky_colour(Vec3 d, Vec3 s);

}  // namespace reference
