#pragma once
// Where the player's keys move the clock. Positions are played sample frames
// of the soundtrack (kClockRate a second), rows are the choreography's
// (kRowsPerSecond): a bar is 32 rows, a beat 8, and the music's sections
// start at the rows of kSectionRows.
#include <cstdint>

#include "src/pass_schedule.h"

inline constexpr int32_t kRowsPerBar = 32;
inline constexpr int32_t kRowsPerBeat = 8;
// A bar and a beat are whole numbers of sample frames: 2 s and 0.5 s.
inline constexpr uint32_t kBarFrames = kClockRate * kRowsPerBar / kRowsPerSecond;
inline constexpr uint32_t kBeatFrames = kClockRate * kRowsPerBeat / kRowsPerSecond;
static_assert(kBarFrames * kRowsPerSecond == kClockRate * kRowsPerBar &&
              kBeatFrames * kRowsPerSecond == kClockRate * kRowsPerBeat);

// The first position whose row (as the frame clock computes it) is `row`.
uint32_t row_position(int32_t row);

// The whole row a frame shown at `position` is in.
int32_t whole_row(uint32_t position);

// `position` moved by `frames` (negative: back), kept within [0, end].
uint32_t moved(uint32_t position, int64_t frames, uint32_t end);

// The latest section start before `row`, or 0; the first after it, or `row`
// itself when there is none.
int32_t previous_section(int32_t row);
int32_t next_section(int32_t row);

// 1-based number of the section `row` is in.
int section_number(int32_t row);

// The loop the author marks with [ and ]: rows [start, end).
struct LoopRange {
  int32_t start = -1;
  int32_t end = -1;
  bool on = false;
  bool usable() const { return start >= 0 && end > start; }
};
