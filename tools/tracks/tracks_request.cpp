#include "tools/tracks/tracks_request.h"

#include "tools/common/argument_values.h"

namespace {

constexpr const char* kCommands[] = {"--at", "--export", "--dump", "--export-text", "--import-text", "--help"};

bool is_command(const std::string& word) {
  if (word == "-h") return true;
  for (const char* command : kCommands)
    if (word == command) return true;
  return false;
}

int most_arguments(const std::string& command) {
  return command == "--help" ? 0 : command == "--import-text" ? 2 : 1;
}

// Takes --choreography DIR (or --choreography=DIR) out of the words.
bool take_choreography(std::vector<std::string>& words, TracksRequest& request, std::string* error) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < words.size(); ++i) {
    OptionWord word = split_option(words[i]);
    if (word.name != "--choreography") {
      rest.push_back(words[i]);
      continue;
    }
    if (request.choreography) return (*error = "--choreography is given twice", false);
    if (!word.value && i + 1 < words.size()) word.value = words[++i];
    if (!word.value || word.value->empty()) return (*error = "--choreography needs a folder of key lists", false);
    request.choreography = *word.value;
  }
  words = rest;
  return true;
}

}  // namespace

std::optional<TracksRequest> parse_tracks_request(int argc, const char* const argv[], std::string* error) {
  std::vector<std::string> words(argv + 1, argv + argc);
  TracksRequest request;
  if (!take_choreography(words, request, error)) return std::nullopt;
  if (words.empty()) return (*error = "no command given", std::nullopt);
  request.command = words[0] == "-h" ? "--help" : words[0];
  if (!is_command(words[0])) return (*error = "unknown option '" + words[0] + "'", std::nullopt);
  request.arguments.assign(words.begin() + 1, words.end());
  for (const std::string& argument : request.arguments)
    if (is_command(argument))
      return (*error = "one command at a time, not " + request.command + " and " + argument, std::nullopt);
  const int most = most_arguments(request.command);
  if (static_cast<int>(request.arguments.size()) > most) {
    *error = most == 0 ? request.command + " takes no argument"
                       : "unexpected argument '" + request.arguments[most] + "'";
    return std::nullopt;
  }
  if (most > 0 && request.arguments.empty())
    return (*error = request.command + " needs an argument", std::nullopt);
  for (const std::string& argument : request.arguments)
    if (argument.empty()) return (*error = request.command + " needs a non-empty argument", std::nullopt);
  if (request.choreography && request.command != "--at")
    return (*error = "--choreography applies to --at only", std::nullopt);
  return request;
}
