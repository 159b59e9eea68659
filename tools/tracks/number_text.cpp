#include "tools/tracks/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::string float_text(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

bool parse_float_argument(const char* text, float* value) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  const float parsed = std::strtof(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}
