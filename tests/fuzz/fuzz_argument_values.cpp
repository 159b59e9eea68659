// Fuzz target for the option values every tool shares: sizes, times, lists of
// times, whole numbers and "--name=value" words. Whatever reads must be what
// the value's own description allows.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/common/argument_values.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_argument_values: %s\n", what);
    std::abort();
  }
}

bool plain_decimal(std::string_view text) {
  int dots = 0, digits = 0;
  for (char c : text) {
    if (c == '.') ++dots;
    else if (c >= '0' && c <= '9') ++digits;
    else return false;
  }
  return dots <= 1 && digits >= 1;
}

void check_seconds(std::string_view text) {
  const auto seconds = parse_seconds(text);
  if (!seconds) return;
  check(plain_decimal(text), "a time that is not plain decimal digits read");
  check(std::isfinite(*seconds) && *seconds >= 0 && *seconds <= kIntroSeconds, "a time outside the intro read");
}

void check_seconds_list(std::string_view text) {
  const auto list = parse_seconds_list(text);
  if (!list) return;
  std::size_t item = 0;
  for (std::size_t start = 0;; ++item) {
    const std::size_t comma = text.find(',', start);
    const auto one = parse_seconds(text.substr(start, comma - start));
    check(item < list->size() && one && *one == (*list)[item], "a list of times differs from its items");
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  check(item + 1 == list->size(), "a list of times with more times than items");
}

void check_size(std::string_view text) {
  const auto size = parse_size(text);
  if (!size) return;
  check(size->width >= 1 && size->width <= 65535 && size->height >= 1 && size->height <= 65535,
        "a size with a side outside 1 to 65535 read");
  const std::string written = std::to_string(size->width) + "x" + std::to_string(size->height);
  const auto again = parse_size(written);
  check(again && again->width == size->width && again->height == size->height, "a size does not read back");
}

void check_int(std::string_view text, int low, int high) {
  const auto value = parse_int(text, low, high);
  if (!value) return;
  check(*value >= low && *value <= high, "a whole number outside its range read");
  check(std::strtol(std::string(text).c_str(), nullptr, 10) == *value, "a whole number read as another");
}

void check_option_word(std::string_view text) {
  const OptionWord word = split_option(text);
  const std::string joined = word.value ? word.name + "=" + *word.value : word.name;
  check(joined == text, "an option word does not split into its name and value");
  check(word.name.find('=') == std::string::npos, "an option's name holds '='");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check_seconds(text);
  check_seconds_list(text);
  check_size(text);
  check_int(text, 0, 51);
  check_int(text, 1, 100000);
  check_option_word(text);
  return 0;
}
