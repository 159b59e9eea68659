// Key search and interpolation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "sync/track.h"
#include "tests/sync/test_support.h"

using sync_test::key;
using sync_test::view_track;

namespace {

constexpr auto kStep = Interpolation::Step;
constexpr auto kLinear = Interpolation::Linear;
constexpr auto kSmooth = Interpolation::Smooth;
constexpr auto kRamp = Interpolation::Ramp;

// The C library's pow, out of the compiler's sight (as the evaluation uses it).
double (*volatile library_pow)(double, double) = std::pow;

double value_at(std::vector<TrackKey> keys, double row) {
  const Track track = view_track(keys);
  return track_value_at(&track, row);
}

TEST(LocateKey, FindsExactRowsAndComplementsOfInsertionPoints) {
  std::vector<TrackKey> keys = {key(0, 0, kStep), key(127, 0, kStep), key(640, 0, kStep)};
  const Track track = view_track(keys);
  EXPECT_EQ(locate_key(&track, 0), 0);
  EXPECT_EQ(locate_key(&track, 127), 1);
  EXPECT_EQ(locate_key(&track, 640), 2);
  EXPECT_EQ(locate_key(&track, 300), -3);
  EXPECT_EQ(locate_key(&track, -5), -1);
  EXPECT_EQ(locate_key(&track, 700), -4);

  std::vector<TrackKey> none;
  const Track empty = view_track(none);
  EXPECT_EQ(locate_key(&empty, 0), -1);
  EXPECT_EQ(locate_key(&empty, INT32_MIN), -1);
}

TEST(LocateKey, AgreesWithLowerBoundOnRandomTracks) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<TrackKey> keys;
    std::int32_t row = static_cast<std::int32_t>(rng() % 50) - 25;
    const int count = static_cast<int>(rng() % 40);
    for (int k = 0; k < count; ++k) {
      keys.push_back(key(row, 0, kStep));
      row += 1 + static_cast<std::int32_t>(rng() % 5);
    }
    const Track track = view_track(keys);
    for (std::int32_t probe = -30; probe < row + 3; ++probe) {
      const auto it = std::lower_bound(keys.begin(), keys.end(), probe,
                                       [](const TrackKey& k, std::int32_t r) { return k.row < r; });
      const int p = static_cast<int>(it - keys.begin());
      const int expected = (it != keys.end() && it->row == probe) ? p : -p - 1;
      ASSERT_EQ(locate_key(&track, probe), expected) << "count " << count << " row " << probe;
    }
  }
}

TEST(TrackValue, EmptyTrackIsZeroEverywhere) {
  for (double row : {0.0, -0.5, -3.0, 12.25, 1e9, -1e300}) EXPECT_EQ(value_at({}, row), 0.0) << row;
}

TEST(TrackValue, SingleKeyHoldsEverywhereWhateverItsMode) {
  for (int code = 0; code <= 3; ++code) {
    for (double row : {-100.0, -0.5, 0.0, 3.0, 3.5, 1e6}) {
      EXPECT_EQ(value_at({key(3, 2.75f, code)}, row), 2.75) << code << " " << row;
    }
  }
}

TEST(TrackValue, LinearThenStepAtTheDocumentedRows) {
  const std::vector<TrackKey> keys = {key(0, 0.0f, kLinear), key(10, 5.0f, kStep)};
  EXPECT_EQ(value_at(keys, 2.5), 1.25);
  EXPECT_EQ(value_at(keys, 10.0), 5.0);
  EXPECT_EQ(value_at(keys, 20.0), 5.0);
  EXPECT_EQ(value_at(keys, -3.0), 0.0);
  EXPECT_EQ(value_at(keys, -0.5), 0.0);
  // The fraction uses the unfloored row.
  EXPECT_EQ(value_at(keys, 2.75), 1.375);
}

TEST(TrackValue, SmoothAndRampShapes) {
  EXPECT_EQ(value_at({key(0, 0.0f, kSmooth), key(10, 5.0f, kStep)}, 2.5), 0.78125);
  EXPECT_EQ(value_at({key(0, 0.0f, kRamp), key(10, 5.0f, kStep)}, 2.5), 0.3125);
  // Halfway: Linear and Smooth at the midpoint, Ramp a quarter of the way.
  EXPECT_EQ(value_at({key(0, 2.0f, kLinear), key(10, 10.0f, kStep)}, 5.0), 6.0);
  EXPECT_EQ(value_at({key(0, 2.0f, kSmooth), key(10, 10.0f, kStep)}, 5.0), 6.0);
  EXPECT_EQ(value_at({key(0, 2.0f, kRamp), key(10, 10.0f, kStep)}, 5.0), 4.0);
}

TEST(TrackValue, KeyRowsGiveTheKeyValueInEveryMode) {
  for (int code = 0; code <= 3; ++code) {
    const std::vector<TrackKey> keys = {key(0, 1.5f, code), key(4, 9.25f, code), key(8, -2.0f, code)};
    EXPECT_EQ(value_at(keys, 0.0), 1.5) << code;
    EXPECT_EQ(value_at(keys, 4.0), 9.25) << code;
    EXPECT_EQ(value_at(keys, 8.0), -2.0) << code;
  }
}

TEST(TrackValue, StepHoldsUntilTheNextKeyRow) {
  const std::vector<TrackKey> keys = {key(0, 1.0f, kStep), key(16, 3.0f, kLinear)};
  EXPECT_EQ(value_at(keys, 15.999), 1.0);
  EXPECT_EQ(value_at(keys, 16.0), 3.0);
}

TEST(TrackValue, LastSegmentLeadsToTheLastKeyAndHoldsAfterIt) {
  const std::vector<TrackKey> keys = {key(0, 0.0f, kLinear), key(10, 4.0f, kLinear), key(20, 8.0f, kRamp)};
  EXPECT_DOUBLE_EQ(value_at(keys, 19.5), 7.8);
  EXPECT_EQ(value_at(keys, 20.0), 8.0);
  EXPECT_EQ(value_at(keys, 2e9), 8.0);
}

TEST(TrackValue, FloorsBeforeSearching) {
  // Truncation toward zero would land on the key at 0 instead of the one at -1.
  EXPECT_EQ(value_at({key(-1, 10.0f, kStep), key(0, 20.0f, kStep)}, -0.5), 10.0);
  EXPECT_EQ(value_at({key(2, 5.0f, kStep), key(3, 7.0f, kStep)}, 2.999), 5.0);
}

TEST(TrackValue, RowsBeyondTheInt32RangeClampToTheEndKeys) {
  const std::vector<TrackKey> keys = {key(-5, 1.0f, kLinear), key(5, 2.0f, kLinear)};
  EXPECT_EQ(value_at(keys, 1e12), 2.0);
  EXPECT_EQ(value_at(keys, 2147483648.0), 2.0);
  EXPECT_EQ(value_at(keys, -1e12), 1.0);
  EXPECT_EQ(value_at(keys, std::nan("")), 1.0);
  // A first key on the lowest int32 row is still after every row below it.
  EXPECT_EQ(value_at({key(INT32_MIN, 3.0f, kLinear), key(0, 5.0f, kStep)}, -1e12), 3.0);
  // Keys further apart than 2^31 rows still interpolate between themselves.
  EXPECT_EQ(value_at({key(-2000000000, 0.0f, kLinear), key(2000000000, 4.0f, kStep)}, 0.0), 2.0);
}

TEST(TrackValue, DifferenceIsTakenInFloat32AndTheResultStaysDouble) {
  // 1e8f - 0.1f rounds to 1e8f in float32; in double it would be 99999999.9.
  const float a = 0.1f;
  const float b = 1e8f;
  const double expected = 0.5 * static_cast<double>(b - a) + static_cast<double>(a);
  EXPECT_EQ(value_at({key(0, a, kLinear), key(2, b, kStep)}, 1.0), expected);
  EXPECT_NE(expected, 0.5 * (static_cast<double>(b) - static_cast<double>(a)) + static_cast<double>(a));
  // A third is not rounded to float32.
  EXPECT_EQ(value_at({key(0, 0.0f, kLinear), key(3, 1.0f, kStep)}, 1.0), 1.0 / 3.0);
}

TEST(TrackValue, SmoothUsesTheExactPolynomialForm) {
  const std::vector<TrackKey> keys = {key(7, 0.3f, kSmooth), key(29, -1.7f, kStep)};
  for (double row : {7.0, 9.125, 13.3, 21.77, 28.999}) {
    const double t = (row - 7.0) / 22.0;
    const double d = static_cast<double>(-1.7f - 0.3f);
    EXPECT_EQ(value_at(keys, row), (3.0 - (t + t)) * (t * t) * d + static_cast<double>(0.3f)) << row;
  }
}

TEST(TrackValue, RampUsesTheLibraryPowNotAProduct) {
  // A fraction for which pow(t, 2.0) and t * t differ in the last bit.
  const double row = 523.49400000000003;
  const double t = row / 1394.0;
  ASSERT_NE(library_pow(t, 2.0), t * t);
  EXPECT_EQ(value_at({key(0, 0.0f, kRamp), key(1394, 1.0f, kStep)}, row), library_pow(t, 2.0));
}

TEST(TrackValue, NegativeCountCountsAsEmpty) {
  Track broken{nullptr, nullptr, -4};
  EXPECT_EQ(track_value_at(&broken, 3.0), 0.0);
}

// Failed assertions: reported with condition and source; a debug build stops,
// a release build carries on with the defined result.
TEST(TrackAssertions, UnknownInterpolationCode) {
  std::vector<TrackKey> keys = {key(0, 1.0f, 7), key(10, 2.0f, kStep)};
  const Track track = view_track(keys);
#ifdef NDEBUG
  testing::internal::CaptureStderr();
  EXPECT_EQ(track_value_at(&track, 5.0), 0.0);
  EXPECT_EQ(track_value_at(&track, 0.0), 0.0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Assertion failed: 0, source sync/track"), std::string::npos) << err;
#else
  EXPECT_DEATH(track_value_at(&track, 5.0), "Assertion failed: 0, source sync/track");
#endif
  // The last key's code is never used.
  std::vector<TrackKey> tail = {key(0, 1.0f, kStep), key(10, 2.0f, 9)};
  EXPECT_EQ(value_at(tail, 50.0), 2.0);
}

TEST(TrackAssertions, SearchOverANegativeCount) {
  Track broken{nullptr, nullptr, -3};
#ifdef NDEBUG
  testing::internal::CaptureStderr();
  EXPECT_EQ(locate_key(&broken, 5), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Assertion failed: lo == hi, source sync/track"), std::string::npos) << err;
#else
  EXPECT_DEATH(locate_key(&broken, 5), "Assertion failed: lo == hi, source sync/track");
#endif
}

}  // namespace
