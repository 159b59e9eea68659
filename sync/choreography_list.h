#pragma once
// The choreographers' notation for key lists, read at compile time for the
// compiled-in choreography and at run time for the author's text files.
//
// A list is written the way the choreography sheets write it, so the two can
// be read side by side:
//
//   "0: -2.5 (0); 127: 0.1 (0); [r = 896 to 1136 every 8 rows, 31 times: r: 0.12 (0), r+1: 0.1 (0)]; ..."
//
// Each key is its row, a colon, its value (the float32 nearest to the decimal)
// and its interpolation code in parentheses. A bracket stands for n repetitions
// of its group, r taking the values A, A + P, ..., B. read_list checks the
// grammar, that A, B, P and n of every bracket agree, codes 0-3 and strictly
// ascending rows, and hands each key to a sink. expand<N>(list) turns a list
// into three parallel arrays (rows, codes, values) while compiling and checks
// as well that it holds exactly N keys (the count the list's heading states);
// a failed check stops the build at the call of list_error, whose argument
// says what is wrong. sync/key_list.h runs the same reader on a file's text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace choreography {

// Deliberately not constexpr: reaching it while a list is expanded at compile
// time is a compile error. Never called at run time for the built-in lists.
void list_error(const char* what);

constexpr bool is_space(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A position in a list and the first thing found wrong there. `error` says
// what was expected; it stays null while the text reads well.
struct ListReader {
  std::string_view text;
  std::size_t at = 0;
  const char* error = nullptr;
  std::size_t error_at = 0;

  // A NUL byte inside the text reads as itself, not as the end.
  constexpr char peek() const { return at < text.size() ? text[at] : '\0'; }
  constexpr bool at_end() const { return at >= text.size(); }
  constexpr void skip_space() {
    while (!at_end() && is_space(text[at])) ++at;
  }
  // Records the first failure (where the reader stands) and returns false.
  constexpr bool fail(const char* what) { return fail_at(what, at); }
  constexpr bool fail_at(const char* what, std::size_t where) {
    if (error == nullptr) {
      error = what;
      error_at = where;
    }
    return false;
  }
};

constexpr bool expect(ListReader& r, std::string_view word, const char* what) {
  r.skip_space();
  if (r.text.substr(r.at, word.size()) != word) return r.fail(what);
  r.at += word.size();
  return true;
}

constexpr bool read_integer(ListReader& r, std::int64_t* out, const char* what) {
  r.skip_space();
  const std::size_t start = r.at;
  const bool negative = r.peek() == '-';
  if (negative) ++r.at;
  if (!is_digit(r.peek())) return r.fail(what);
  std::int64_t value = 0;
  for (; is_digit(r.peek()); ++r.at) {
    value = value * 10 + (r.peek() - '0');
    if (value > 2147483648LL) return r.fail_at("expected a number in the int32 range", start);
  }
  *out = negative ? -value : value;
  return true;
}

// The float32 nearest to a decimal such as "-0.01", "2.00004" or "18.3": the
// decimal's digits as an integer M, divided by 10^k in double precision (both
// exact, so the quotient is the double nearest to the decimal), then rounded to
// float32. The unit tests compare the result with strtof for every value of
// every list.
constexpr bool read_decimal(ListReader& r, float* out) {
  r.skip_space();
  const std::size_t start = r.at;
  const bool negative = r.peek() == '-';
  if (negative) ++r.at;
  if (!is_digit(r.peek())) return r.fail("expected a value");
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction_digits = 0;
  bool in_fraction = false;
  for (;; ++r.at) {
    const char c = r.peek();
    if (is_digit(c)) {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      if (++digits > 15) return r.fail_at("expected a value of at most 15 digits", start);
      if (in_fraction) ++fraction_digits;
    } else if (c == '.' && !in_fraction && r.at + 1 < r.text.size() && is_digit(r.text[r.at + 1])) {
      in_fraction = true;
    } else {
      break;
    }
  }
  double scale = 1.0;
  for (int i = 0; i < fraction_digits; ++i) scale *= 10.0;
  const double value = static_cast<double>(mantissa) / scale;
  *out = static_cast<float>(negative ? -value : value);
  return true;
}

namespace detail {

// Checks a key that has been read and hands it to the sink, which returns
// null or why it cannot take the key.
template <class Sink>
struct KeyChecks {
  Sink& sink;
  bool any = false;
  std::int64_t last_row = 0;

  constexpr bool add(ListReader& r, std::size_t key_at, std::int64_t row, float value, std::int64_t code) {
    if (code < 0 || code > 3) return r.fail_at("expected an interpolation code 0 to 3", key_at);
    if (row < INT32_MIN || row > INT32_MAX) return r.fail_at("expected a row in the int32 range", key_at);
    if (any && row <= last_row) return r.fail_at("expected a row above the previous key's row", key_at);
    if (const char* refused = sink(static_cast<std::int32_t>(row), value, static_cast<std::int32_t>(code)))
      return r.fail_at(refused, key_at);
    any = true;
    last_row = row;
    return true;
  }

  // ": value (code)", the part of a key after its row.
  constexpr bool key_rest(ListReader& r, std::size_t key_at, std::int64_t row) {
    float value = 0.0f;
    std::int64_t code = 0;
    return expect(r, ":", "expected ':' after the row") && read_decimal(r, &value) &&
           expect(r, "(", "expected '(' and the interpolation code") &&
           read_integer(r, &code, "expected an interpolation code 0 to 3") &&
           expect(r, ")", "expected ')' after the interpolation code") && add(r, key_at, row, value, code);
  }

  // "r[+offset]: value (code)" for each key of a bracket's group, once per r.
  constexpr bool group(ListReader& r, std::int64_t row) {
    for (;;) {
      r.skip_space();
      const std::size_t key_at = r.at;
      if (!expect(r, "r", "expected 'r' or 'r+offset' in the bracket")) return false;
      r.skip_space();
      std::int64_t offset = 0;
      if (r.peek() == '+') {
        ++r.at;
        if (!read_integer(r, &offset, "expected a row offset after 'r+'")) return false;
      }
      if (!key_rest(r, key_at, row + offset)) return false;
      r.skip_space();
      if (r.peek() != ',') return true;
      ++r.at;
    }
  }

  // "[r = A to B every P rows, n times: group]", the '[' already read.
  constexpr bool bracket(ListReader& r) {
    const std::size_t open_at = r.at - 1;
    std::int64_t first = 0, last = 0, period = 0, times = 0;
    if (!(expect(r, "r", "expected 'r' after '['") && expect(r, "=", "expected '=' after 'r'") &&
          read_integer(r, &first, "expected the first row A of 'r = A to B'") &&
          expect(r, "to", "expected 'to'") && read_integer(r, &last, "expected the last row B after 'to'") &&
          expect(r, "every", "expected 'every'") &&
          read_integer(r, &period, "expected the period P after 'every'") &&
          expect(r, "rows", "expected 'rows'") && expect(r, ",", "expected ',' after 'rows'") &&
          read_integer(r, &times, "expected the count n before 'times'") &&
          expect(r, "times", "expected 'times'") && expect(r, ":", "expected ':' after 'times'"))) {
      return false;
    }
    if (period <= 0 || last < first || (last - first) % period != 0 || (last - first) / period + 1 != times)
      return r.fail_at("expected a bracket whose A, B, P and n agree: n = (B - A) / P + 1", open_at);
    const std::size_t group_at = r.at;
    for (std::int64_t row = first; row <= last; row += period) {
      r.at = group_at;
      if (!group(r, row)) return false;
    }
    return expect(r, "]", "expected ']' or ',' after a key of the bracket");
  }
};

}  // namespace detail

// Reads a whole list, handing every key to `sink(row, value, code)`, which
// returns null to take it or a reason to refuse it. True when the whole text
// reads; otherwise `r.error` says what was expected at `r.error_at`.
template <class Sink>
constexpr bool read_list(ListReader& r, Sink&& sink) {
  detail::KeyChecks<Sink> keys{sink};
  for (;;) {
    r.skip_space();
    if (r.peek() == '[') {
      ++r.at;
      if (!keys.bracket(r)) return false;
    } else {
      const std::size_t key_at = r.at;
      std::int64_t row = 0;
      if (!read_integer(r, &row, "expected a row number or '['") || !keys.key_rest(r, key_at, row)) return false;
    }
    r.skip_space();
    if (r.peek() == ';') {
      ++r.at;
      continue;
    }
    if (r.peek() == '.') ++r.at;  // the full stop that ends a list on the sheets
    r.skip_space();
    if (!r.at_end()) return r.fail("expected ';' between keys, or the end of the list");
    return true;
  }
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
  auto store = [&](std::int32_t row, float value, std::int32_t code) -> const char* {
    if (n >= N) return "the list holds more keys than its stated count";
    out.rows[n] = row;
    out.values[n] = value;
    out.codes[n] = code;
    ++n;
    return nullptr;
  };
  ListReader reader{list};
  if (!read_list(reader, store)) list_error(reader.error);
  if (n != N) list_error("the list holds fewer keys than its stated count");
  return out;
}

}  // namespace choreography
