// Fuzz target for the key-list reader that the preview runs on every save and
// the tracks tool on --import-text. A list that reads holds keys in strictly
// ascending rows with codes 0 to 3; a list that does not read leaves no keys
// and names a line and column inside the text, with a reason.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "sync/key_list.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_key_list: %s\n", what);
    std::abort();
  }
}

// Columns count bytes from 1; one past a line's last byte is where a missing
// word was expected.
void check_place(std::string_view text, const KeyListError& error) {
  const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
  check(error.line >= 1 && error.line <= lines, "the error's line is outside the text");
  std::size_t start = 0;
  for (int line = 1; line < error.line; ++line) start = text.find('\n', start) + 1;
  const std::size_t end = std::min(text.find('\n', start), text.size());
  check(error.column >= 1 && static_cast<std::size_t>(error.column) <= end - start + 1,
        "the error's column is outside its line");
  check(!error.expected.empty(), "an error without a reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<TrackKey> keys{TrackKey{}};  // a stale key must not survive a failure
  KeyListError error;
  if (!parse_key_list(text, &keys, &error)) {
    check(keys.empty(), "a list that did not read left keys");
    check_place(text, error);
    return 0;
  }
  check(keys.size() <= kMaxListKeys, "more keys than a list may hold");
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const auto code = static_cast<int>(keys[k].interpolation);
    check(code >= 0 && code <= 3, "an interpolation code outside 0 to 3");
    check(k == 0 || keys[k].row > keys[k - 1].row, "rows that do not ascend strictly");
  }
  return 0;
}
