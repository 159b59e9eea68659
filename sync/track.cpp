// Key search and interpolation.
#include "sync/track.h"

#include <cmath>

#include "sync/assertion.h"

namespace {

constexpr const char* kSource = "sync/track";

// The row distance between two keys. Taken in 64 bits, so keys more than 2^31
// rows apart (possible only in a hand-made track file) still give a fraction
// in [0, 1) instead of a wrapped, negative distance.
double row_distance(std::int32_t from, std::int32_t to) {
  return static_cast<double>(static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from));
}

// pow is called through a pointer the compiler cannot see through, so
// pow(t, 2.0) is the C library's double-precision pow, whose rounding the
// choreography was tuned with, and is never folded into the product t * t.
double (*volatile g_pow)(double, double) = std::pow;

}  // namespace

std::int32_t locate_key(const Track* track, std::int32_t row) {
  std::int32_t lo = 0;
  std::int32_t hi = track->key_count;
  while (lo < hi) {
    // (lo + hi) / 2 rounded down, written so that it cannot overflow.
    const std::int32_t mi = lo + (hi - lo) / 2;
    SYNC_ASSERT(mi != hi, kSource);
    if (track->keys[mi].row < row) {
      lo = mi + 1;
    } else if (track->keys[mi].row == row) {
      return mi;
    } else {
      hi = mi;
    }
  }
  SYNC_ASSERT(lo == hi, kSource);
  return ~lo;
}

double track_value_at(const Track* track, double row) {
  // A negative count, which no producer delivers, counts as empty too, so that
  // a release build never reads keys that do not exist.
  if (track->key_count <= 0) return 0.0;

  // Floor first, so -0.5 gives -1 and 2.999 gives 2. A floor outside the
  // int32 range lies before or after every key (NaN counts as before), so it
  // gets the first or the last key's value instead of an undefined conversion.
  const double floored = std::floor(row);
  if (!(floored >= -2147483648.0)) return track->keys[0].value;
  if (floored >= 2147483648.0) return track->keys[track->key_count - 1].value;
  const auto r = static_cast<std::int32_t>(floored);

  // The last key at or before that row, or the first key's value before it.
  std::int32_t i = locate_key(track, r);
  if (i < 0) {
    i = ~i - 1;
    if (i < 0) return track->keys[0].value;
  }

  // At or after the last key the value holds.
  if (i > track->key_count - 2) return track->keys[track->key_count - 1].value;

  const TrackKey& k = track->keys[i];
  const TrackKey& n = track->keys[i + 1];
  if (k.interpolation == Interpolation::Step) return k.value;

  const double t = (row - static_cast<double>(k.row)) / row_distance(k.row, n.row);
  const float d32 = n.value - k.value;  // the difference in float32 ...
  const double d = d32;                 // ... only then widened
  switch (k.interpolation) {
    case Interpolation::Linear: return t * d + k.value;
    case Interpolation::Smooth: return (3.0 - (t + t)) * (t * t) * d + k.value;
    case Interpolation::Ramp: return g_pow(t, 2.0) * d + k.value;
    default: SYNC_ASSERT(0, kSource); return 0.0;
  }
}
