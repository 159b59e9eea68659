#include "tools/common/argument_values.h"

#include <cctype>
#include <charconv>

std::optional<int> parse_int(std::string_view text, int low, int high) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<Size> parse_size(std::string_view text) {
  size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return std::nullopt;
  auto w = parse_int(text.substr(0, x), 1, 65535);
  auto h = parse_int(text.substr(x + 1), 1, 65535);
  if (!w || !h) return std::nullopt;
  return Size{*w, *h};
}

std::optional<double> parse_seconds(std::string_view text) {
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
    return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || value > kIntroSeconds) return std::nullopt;
  return value;
}

std::optional<std::vector<double>> parse_seconds_list(std::string_view text) {
  std::vector<double> values;
  while (true) {
    size_t comma = text.find(',');
    auto value = parse_seconds(text.substr(0, comma));
    if (!value) return std::nullopt;
    values.push_back(*value);
    if (comma == std::string_view::npos) return values;
    text.remove_prefix(comma + 1);
  }
}

OptionWord split_option(std::string_view word) {
  size_t eq = word.find('=');
  if (eq == std::string_view::npos) return {std::string(word), std::nullopt};
  return {std::string(word.substr(0, eq)), std::string(word.substr(eq + 1))};
}
