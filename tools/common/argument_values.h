#pragma once
// Values of command-line options, shared by every tool so that one argument
// means the same thing everywhere. Each parser takes the whole text and fails
// on anything left over.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/pass_schedule.h"
#include "src/render_sizes.h"

// Times run from 0 to the intro's end.
inline constexpr double kIntroSeconds = kEndSeconds;

// What a time argument accepts, for messages.
inline constexpr char kSecondsHint[] = "seconds from 0 to 136, like 12.5";

// "WxH" with positive sides of at most 65535 (what a device allows is checked
// when one is made).
std::optional<Size> parse_size(std::string_view text);

// A playback time: plain decimal digits with an optional fraction, from 0 to
// 136. No sign, exponent, hex, "inf" or "nan": "-0" is no time of the intro.
std::optional<double> parse_seconds(std::string_view text);

// Comma-separated playback times, at least one.
std::optional<std::vector<double>> parse_seconds_list(std::string_view text);

// A whole number in [low, high].
std::optional<int> parse_int(std::string_view text, int low, int high);

// Splits "--name=value" into name and value; "--name" alone has no value.
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};
OptionWord split_option(std::string_view word);
