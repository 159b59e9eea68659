#include "tools/capture/part_record.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <type_traits>

#include "tools/common/output_file.h"

namespace {

// The number after "key": in our own flat object.
std::optional<double> number_field(const std::string& json, const char* key) {
  std::string quoted = std::string("\"") + key + "\":";
  size_t at = json.find(quoted);
  if (at == std::string::npos) return std::nullopt;
  const char* start = json.c_str() + at + quoted.size();
  char* end = nullptr;
  double value = std::strtod(start, &end);
  if (end == start || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The digest after "choreography": hex digits only, so no escapes to undo.
std::optional<std::string> digest_field(const std::string& json) {
  const std::string quoted = "\"choreography\":\"";
  const size_t at = json.find(quoted);
  if (at == std::string::npos) return std::nullopt;
  const size_t start = at + quoted.size(), end = json.find('"', start);
  if (end == std::string::npos) return std::nullopt;
  const std::string digest = json.substr(start, end - start);
  if (digest.empty() || digest.find_first_not_of("0123456789abcdef") != std::string::npos) return std::nullopt;
  return digest;
}

// A count or index must be a whole number its type holds: converting any
// other double to an integer is undefined, and an edited "fps":2.5 is not a
// record this tool wrote.
template <typename T>
bool read_field(const std::string& json, const char* key, T* value) {
  auto number = number_field(json, key);
  if (!number) return false;
  if constexpr (std::is_integral_v<T>) {
    if (*number != std::trunc(*number) || *number < static_cast<double>(std::numeric_limits<T>::min()) ||
        *number >= -static_cast<double>(std::numeric_limits<T>::min()))
      return false;
  }
  *value = static_cast<T>(*number);
  return true;
}

// The shortest decimal that reads back as the same double.
std::string shortest(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

bool same_capture(const PartRecord& a, const PartRecord& b) {
  return a.range_first == b.range_first && a.range_end == b.range_end && a.fps == b.fps &&
         a.size.width == b.size.width && a.size.height == b.size.height && a.crf == b.crf && a.parts == b.parts;
}

bool same_keys(const PartRecord& a, const PartRecord& b) { return a.choreography == b.choreography; }

std::string capture_text(const PartRecord& r) {
  char text[160];
  std::snprintf(text, sizeof text, "frames %lld to %lld of %dx%d at %d fps (crf %d) in %d parts",
                static_cast<long long>(r.range_first), static_cast<long long>(r.range_end - 1), r.size.width,
                r.size.height, r.fps, r.crf, r.parts);
  return text;
}

std::string record_path(const std::string& out) {
  std::string base = out;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + ".part.json";
}

std::string record_json(const PartRecord& r) {
  // Sized by a first pass: an edited record's digest may be of any length.
  auto format = [&r](char* text, size_t size) {
    return std::snprintf(
        text, size,
        "{\"from\":%s,\"to\":%s,\"range_first\":%lld,\"range_end\":%lld,\"fps\":%d,"
        "\"width\":%d,\"height\":%d,\"crf\":%d,\"parts\":%d,\"choreography\":\"%s\",\n"
        " \"part\":%d,\"first_frame\":%lld,\"frame_count\":%lld,\n"
        " \"priming_frames\":%lld,\"priming_seconds\":%s,\"frames_seconds\":%s,"
        "\"total_seconds\":%s}\n",
        shortest(r.from).c_str(), shortest(r.to).c_str(), static_cast<long long>(r.range_first),
        static_cast<long long>(r.range_end), r.fps, r.size.width, r.size.height, r.crf, r.parts,
        r.choreography.c_str(), r.part, static_cast<long long>(r.first_frame), static_cast<long long>(r.frame_count),
        static_cast<long long>(r.priming_frames), shortest(r.priming_seconds).c_str(),
        shortest(r.frames_seconds).c_str(), shortest(r.total_seconds).c_str());
  };
  std::string text(static_cast<size_t>(format(nullptr, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(format(text.data(), text.size())));
  return text;
}

std::optional<PartRecord> parse_record(const std::string& json) {
  PartRecord r;
  bool whole = json.find('}') != std::string::npos && read_field(json, "from", &r.from) &&
               read_field(json, "to", &r.to) && read_field(json, "range_first", &r.range_first) &&
               read_field(json, "range_end", &r.range_end) && read_field(json, "fps", &r.fps) &&
               read_field(json, "width", &r.size.width) && read_field(json, "height", &r.size.height) &&
               read_field(json, "crf", &r.crf) && read_field(json, "parts", &r.parts) &&
               read_field(json, "part", &r.part) && read_field(json, "first_frame", &r.first_frame) &&
               read_field(json, "frame_count", &r.frame_count) &&
               read_field(json, "priming_frames", &r.priming_frames) &&
               read_field(json, "priming_seconds", &r.priming_seconds) &&
               read_field(json, "frames_seconds", &r.frames_seconds) &&
               read_field(json, "total_seconds", &r.total_seconds);
  const auto digest = digest_field(json);
  if (!whole || !digest) return std::nullopt;
  r.choreography = *digest;
  return r;
}

bool write_record(const std::string& out, const PartRecord& r, std::string* error) {
  const std::string path = record_path(out), temporary = path + ".tmp", json = record_json(r);
  if (!write_whole_file(temporary, {reinterpret_cast<const uint8_t*>(json.data()), json.size()}, error))
    return false;
  std::error_code failure;
  std::filesystem::rename(temporary, path, failure);
  if (failure) {
    *error = "cannot write " + path + ": " + failure.message();
    std::filesystem::remove(temporary, failure);
    return false;
  }
  return true;
}

std::optional<PartRecord> read_record(const std::string& out) {
  std::ifstream file(record_path(out));
  if (!file) return std::nullopt;
  std::stringstream text;
  text << file.rdbuf();
  return parse_record(text.str());
}
