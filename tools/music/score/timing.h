#pragma once
#include <cmath>
#include <cstddef>

namespace music {

// The picture runs on a grid of 16 rows per second: at 120 BPM a beat is
// 8 rows, a sixteenth note 2 rows and a 4/4 bar 32 rows.
constexpr double kSampleRate = 44100.0;
constexpr double kRowsPerSecond = 16.0;
constexpr double kSamplesPerRow = kSampleRate / kRowsPerSecond;
constexpr int kRowsPerBeat = 8;
constexpr int kRowsPerBar = 32;

inline long rowToSample(double row) { return std::lround(row * kSamplesPerRow); }
inline double rowsToSeconds(double rows) { return rows / kRowsPerSecond; }
inline double barToRow(double bar) { return bar * kRowsPerBar; }

} // namespace music
