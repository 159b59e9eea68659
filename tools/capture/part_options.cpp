#include "tools/capture/part_options.h"

#include "tools/common/argument_values.h"

namespace {

std::optional<PartRequest> parse_part(const std::string& text) {
  size_t slash = text.find('/');
  if (slash == std::string::npos) return std::nullopt;
  auto parts = parse_int(std::string_view(text).substr(slash + 1), 1, 100000);
  auto part = parse_int(std::string_view(text).substr(0, slash), 0, 99999);
  if (!part || !parts || *part >= *parts) return std::nullopt;
  return PartRequest{*part, *parts, false};
}

}  // namespace

bool take_part_options(std::vector<std::string>& args, std::optional<PartRequest>* request, std::string* error) {
  bool check = false;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    OptionWord word = split_option(args[i]);
    if (word.name == "--check" && !word.value) {
      if (check) return (*error = "--check is given twice", false);
      check = true;
      continue;
    }
    if (word.name != "--part" || i == 0) {
      rest.push_back(args[i]);
      continue;
    }
    if (*request) return (*error = "--part is given twice", false);
    if (!word.value && i + 1 < args.size()) word.value = args[++i];
    *request = parse_part(word.value.value_or(""));
    if (!*request) {
      *error = "bad value '" + word.value.value_or("") + "' for --part: K/N with 0 <= K < N, like 2/8";
      return false;
    }
  }
  if (check && !*request) {
    *error = "--check needs --part K/N";
    return false;
  }
  if (*request) (*request)->check = check;
  args = rest;
  return true;
}
