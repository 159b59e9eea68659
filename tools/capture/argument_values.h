#pragma once
// Values of command-line options, shared by the capture tool and the
// benchmark. Each parser takes the whole text and fails on anything left over.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/render_sizes.h"

// "WxH" with positive sides of at most 65535 (what a device allows is checked
// when one is made).
std::optional<Size> parse_size(std::string_view text);

// A decimal number of seconds (finite, not negative).
std::optional<double> parse_seconds(std::string_view text);

// Comma-separated seconds, at least one.
std::optional<std::vector<double>> parse_seconds_list(std::string_view text);

// A whole number in [low, high].
std::optional<int> parse_int(std::string_view text, int low, int high);

// Splits "--name=value" into name and value; "--name" alone has no value.
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};
OptionWord split_option(std::string_view word);
