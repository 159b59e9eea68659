#include "tools/tracks/list_source.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr const char* kHeading =
    "#pragma once\n"
    "// The compiled-in choreography's key lists in the choreographers' notation\n"
    "// (sync/choreography_list.h), one per track in the order of track_names, each\n"
    "// with its key count. Written by `velmorand-tracks --import-text DIR` from the\n"
    "// text files `velmorand-tracks --export-text DIR` makes: edit those, not this.\n"
    "// The formatter leaves it as written, so an import reproduces it byte for byte.\n"
    "// clang-format off\n"
    "\n"
    "namespace choreography::lists {\n";

// A list holds only what its notation allows, but whatever a text holds is
// written so that the literal is that text exactly.
void append_escaped(std::string& out, char c) {
  switch (c) {
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    default: break;
  }
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x20 && byte < 0x7f) {
    out += c;
    return;
  }
  char octal[8];
  std::snprintf(octal, sizeof octal, "\\%03o", byte);
  out += octal;
}

// One literal line per line of the text, each ending after its newline.
std::string literal_lines(const std::string& text) {
  std::string out = "    \"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    append_escaped(out, text[i]);
    if (text[i] == '\n' && i + 1 < text.size()) out += "\"\n    \"";
  }
  return out + "\";\n";
}

}  // namespace

std::string list_identifier(const char* track_name) {
  std::string name;
  for (const char* p = track_name; *p != '\0'; ++p)
    name += *p == ':' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  return name;
}

std::string list_source(const std::array<ListText, kSyncTrackCount>& lists) {
  std::string out = kHeading;
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const std::string id = list_identifier(track_names[i]);
    out += "\n// " + std::to_string(i) + " \"" + track_names[i] + "\"\n";
    out += "inline constexpr int " + id + "_keys = " + std::to_string(lists[i].key_count) + ";\n";
    out += "inline constexpr char " + id + "[] =\n" + literal_lines(lists[i].text);
  }
  return out + "\n}  // namespace choreography::lists\n";
}
