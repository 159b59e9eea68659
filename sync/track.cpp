// Key search and interpolation.
#include "sync/track.h"

#include <cmath>

#include "sync/check.h"

namespace {

constexpr const char* kSource = "sync/track";

// Floor first, in double precision, then to int32. A floor beyond the int32
// range saturates, so a row far past the last key still gives the last key's
// value and one far before the first key the first key's value; NaN counts as
// before the first key.
std::int32_t floor_to_int32(double row) {
  const double f = std::floor(row);
  if (f >= 2147483647.0) return INT32_MAX;
  if (f >= -2147483648.0) return static_cast<std::int32_t>(f);
  return INT32_MIN;
}

// The int32 difference n - k with two's complement wrap-around (it cannot wrap
// for any track whose rows lie less than 2^31 apart, which covers every
// producer in the program).
std::int32_t row_difference(std::int32_t n, std::int32_t k) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) - static_cast<std::uint32_t>(k));
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

  // Floor first, so -0.5 gives -1 and 2.999 gives 2; then the last key at or
  // before that row, or the first key's value before the first key.
  const std::int32_t r = floor_to_int32(row);
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

  const double t = (row - static_cast<double>(k.row)) /
                   static_cast<double>(row_difference(n.row, k.row));
  const float d32 = n.value - k.value;  // the difference in float32 ...
  const double d = d32;                 // ... only then widened
  switch (k.interpolation) {
    case Interpolation::Linear:
      return t * d + k.value;
    case Interpolation::Smooth:
      return (3.0 - (t + t)) * (t * t) * d + k.value;
    case Interpolation::Ramp:
      return g_pow(t, 2.0) * d + k.value;
    default:
      SYNC_ASSERT(0, kSource);
      return 0.0;
  }
}
