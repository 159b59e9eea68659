#pragma once
// The cube plasma: one face at face coordinates, and a whole cube blended
// by its local normal; in the first scene's tuning and in the finale's.
#include "tests/scenes/reference/vec.h"

namespace ref {

enum class Tuning { Scene, Finale };

struct PatternInput {
  Tuning tuning = Tuning::Scene;
  float seed = 0;
  float time = 0;
  float clock_offset = 0;  // finale only: plasmaOffset
};

V3 face_pattern(float a, float b, const PatternInput& in);
V3 cube_emission(V3 local, V3 local_normal, const PatternInput& in);

}  // namespace ref
