#pragma once
// The choreographers' notation for key lists, expanded at compile time.
//
// A list is written the way the choreography sheets write it, so the two can
// be read side by side:
//
//   "0: -2.5 (0); 127: 0.1 (0); [r = 896 to 1136 every 8 rows, 31 times: r: 0.12 (0), r+1: 0.1 (0)]; ..."
//
// Each key is its row, a colon, its value (the float32 nearest to the decimal)
// and its interpolation code in parentheses. A bracket stands for n repetitions
// of its group, r taking the values A, A + P, ..., B. expand<N>(list) turns a
// list into three parallel arrays (rows, codes, values) and checks, while compiling:
// the grammar; that A, B, P and n of every bracket agree; codes 0-3; rows
// strictly ascending; and exactly N keys (the count the list's heading states).
// A failed check stops the build at the call of list_error, whose argument
// says what is wrong.
#include <array>
#include <cstdint>

namespace choreography {

// Deliberately not constexpr: reaching it while a list is expanded at compile
// time is a compile error. Never called at run time for the built-in lists.
void list_error(const char* what);

constexpr bool is_space(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr void skip_space(const char*& p) {
  while (is_space(*p)) ++p;
}

constexpr void expect(const char*& p, const char* word) {
  skip_space(p);
  for (const char* w = word; *w != '\0'; ++w, ++p) {
    if (*p != *w) list_error("unexpected text in a key list");
  }
}

constexpr std::int64_t parse_integer(const char*& p) {
  skip_space(p);
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  if (!is_digit(*p)) list_error("a number was expected");
  std::int64_t value = 0;
  for (; is_digit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > 2147483648LL) list_error("a number outside the int32 range");
  }
  return negative ? -value : value;
}

// The float32 nearest to a decimal such as "-0.01", "2.00004" or "18.3": the
// decimal's digits as an integer M, divided by 10^k in double precision (both
// exact, so the quotient is the double nearest to the decimal), then rounded to
// float32. The unit tests compare the result with strtof for every value of
// every list.
constexpr float parse_decimal(const char*& p) {
  skip_space(p);
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  if (!is_digit(*p)) list_error("a value was expected");
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction_digits = 0;
  bool in_fraction = false;
  for (;; ++p) {
    if (is_digit(*p)) {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
      if (++digits > 15) list_error("a value with more than 15 digits");
      if (in_fraction) ++fraction_digits;
    } else if (*p == '.' && !in_fraction && is_digit(p[1])) {
      in_fraction = true;
    } else {
      break;
    }
  }
  double scale = 1.0;
  for (int i = 0; i < fraction_digits; ++i) scale *= 10.0;
  const double value = static_cast<double>(mantissa) / scale;
  return static_cast<float>(negative ? -value : value);
}

template <int N>
struct KeyArrays {
  std::array<std::int32_t, N> rows{};
  std::array<std::int32_t, N> codes{};
  std::array<float, N> values{};
};

template <int N>
constexpr KeyArrays<N> expand(const char* list) {
  KeyArrays<N> out{};
  int n = 0;
  auto add = [&](std::int64_t row, float value, std::int64_t code) {
    if (n >= N) list_error("the list holds more keys than its stated count");
    if (code < 0 || code > 3) list_error("an interpolation code outside 0-3");
    if (row < INT32_MIN || row > INT32_MAX) list_error("a row outside the int32 range");
    if (n > 0 && row <= out.rows[n - 1]) list_error("rows that are not strictly ascending");
    out.rows[n] = static_cast<std::int32_t>(row);
    out.values[n] = value;
    out.codes[n] = static_cast<std::int32_t>(code);
    ++n;
  };
  // One key after its row: ": value (code)".
  auto key_rest = [&](const char*& p, std::int64_t row) {
    expect(p, ":");
    const float value = parse_decimal(p);
    expect(p, "(");
    const std::int64_t code = parse_integer(p);
    expect(p, ")");
    add(row, value, code);
  };

  const char* p = list;
  for (;;) {
    skip_space(p);
    if (*p == '[') {
      ++p;
      expect(p, "r");
      expect(p, "=");
      const std::int64_t first = parse_integer(p);
      expect(p, "to");
      const std::int64_t last = parse_integer(p);
      expect(p, "every");
      const std::int64_t period = parse_integer(p);
      expect(p, "rows");
      expect(p, ",");
      const std::int64_t times = parse_integer(p);
      expect(p, "times");
      expect(p, ":");
      if (period <= 0 || last < first || (last - first) % period != 0 ||
          (last - first) / period + 1 != times) {
        list_error("a bracket whose A, B, P and n disagree");
      }
      const char* group = p;
      for (std::int64_t r = first; r <= last; r += period) {
        p = group;
        for (;;) {
          expect(p, "r");
          skip_space(p);
          std::int64_t offset = 0;
          if (*p == '+') {
            ++p;
            offset = parse_integer(p);
          }
          key_rest(p, r + offset);
          skip_space(p);
          if (*p != ',') break;
          ++p;
        }
      }
      expect(p, "]");
    } else {
      key_rest(p, parse_integer(p));
    }
    skip_space(p);
    if (*p == ';') {
      ++p;
      continue;
    }
    if (*p == '.') ++p;  // the full stop that ends a list on the sheets
    skip_space(p);
    if (*p != '\0') list_error("unexpected text after a key");
    break;
  }
  if (n != N) list_error("the list holds fewer keys than its stated count");
  return out;
}

}  // namespace choreography
