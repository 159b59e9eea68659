#pragma once
// The first scene's background along a view direction, for a sky panorama
// of one flat colour (so the lookup needs no filtering to be exact).
#include "tests/scenes/reference/vec.h"

namespace ref {

V3 sun_direction(float sun_time);

V3 background(V3 d, V3 flat_sky, float time, float sun_time);

}  // namespace ref
