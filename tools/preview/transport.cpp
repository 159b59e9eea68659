#include "tools/preview/transport.h"

#include <algorithm>
#include <cmath>

#include "tools/offline/frame_grid.h"

uint32_t row_position(int32_t row) {
  if (row <= 0) return 0;
  // row x kClockRate / kRowsPerSecond, rounded up. The frame clock adds a
  // bias of kRowBias rows, so the float rounding of seconds never puts this
  // position in the row before.
  return static_cast<uint32_t>((static_cast<int64_t>(row) * kClockRate + kRowsPerSecond - 1) / kRowsPerSecond);
}

int32_t whole_row(uint32_t position) { return static_cast<int32_t>(std::floor(position_row(position))); }

uint32_t moved(uint32_t position, int64_t frames, uint32_t end) {
  return static_cast<uint32_t>(std::clamp<int64_t>(int64_t{position} + frames, 0, end));
}

int32_t previous_section(int32_t row) {
  int32_t found = 0;
  for (int32_t start : kSectionRows)
    if (start < row) found = start;
  return found;
}

int32_t next_section(int32_t row) {
  for (int32_t start : kSectionRows)
    if (start > row) return start;
  return row;
}

int section_number(int32_t row) {
  int number = 1;
  for (size_t i = 1; i < kSectionRows.size(); ++i)
    if (kSectionRows[i] <= row) number = static_cast<int>(i) + 1;
  return number;
}
