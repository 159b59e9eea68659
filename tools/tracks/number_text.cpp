#include "tools/tracks/number_text.h"

#include <charconv>

std::string float_text(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}
