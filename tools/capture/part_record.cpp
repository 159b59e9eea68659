#include "tools/capture/part_record.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "src/pass_schedule.h"
#include "tools/common/output_file.h"

namespace {

using Json = nlohmann::ordered_json;

// Far beyond any capture (136 s at 1000 frames a second), and small enough
// that sums of frame numbers stay exact.
constexpr int64_t kMostFrames = std::numeric_limits<int32_t>::max();
constexpr double kMostSeconds = 1e9;

// A value as a message quotes it: a value that is not a number may be long.
std::string shown(const Json& value) {
  std::string text = value.dump();
  return text.size() <= 40 ? text : text.substr(0, 37) + "...";
}

// Reads the fields of one record from its object; the first problem found
// ends the reading, naming the field.
class FieldReader {
 public:
  FieldReader(const Json& object, const std::string& name) : object_(object), name_(name) {}

  // A whole number in [least, most] (0 <= most), checked before it is narrowed to T.
  template <typename T>
  void whole(const char* key, T* value, int64_t least, int64_t most) {
    const Json* field = find(key);
    if (!field) return;
    if (!field->is_number_integer()) return fail(key, "is " + shown(*field) + ", not a whole number");
    // The parser keeps non-negative integers unsigned, up to 2^64 - 1.
    const bool fits = field->is_number_unsigned()
                          ? field->get<uint64_t>() <= static_cast<uint64_t>(most) &&
                                static_cast<int64_t>(field->get<uint64_t>()) >= least
                          : field->get<int64_t>() >= least && field->get<int64_t>() <= most;
    if (!fits)
      return fail(key,
                  "is " + shown(*field) + ", not from " + std::to_string(least) + " to " + std::to_string(most));
    *value = static_cast<T>(field->get<int64_t>());
  }

  void seconds(const char* key, double* value, double most) {
    const Json* field = find(key);
    if (!field) return;
    if (!field->is_number()) return fail(key, "is " + shown(*field) + ", not a number");
    const double v = field->get<double>();
    if (!(v >= 0 && v <= most)) return fail(key, "is " + shown(*field) + ", not from 0 to " + Json(most).dump());
    *value = v;
  }

  // Hex digits, as choreography_digest() makes them.
  void digest(const char* key, std::string* value) {
    const Json* field = find(key);
    if (!field) return;
    if (!field->is_string() || field->get_ref<const std::string&>().empty() ||
        field->get_ref<const std::string&>().find_first_not_of("0123456789abcdef") != std::string::npos)
      return fail(key, "is " + shown(*field) + ", not a digest of hex digits");
    *value = field->get<std::string>();
  }

  void fail(const std::string& key, const std::string& why) {
    if (error_.empty()) error_ = name_ + ": \"" + key + "\" " + why;
  }
  const std::string& error() const { return error_; }

 private:
  const Json* find(const char* key) {
    if (!error_.empty()) return nullptr;
    auto at = object_.find(key);
    if (at == object_.end()) {
      fail(key, "is missing");
      return nullptr;
    }
    return &*at;
  }

  const Json& object_;
  const std::string& name_;
  std::string error_;
};

// The costs are kept to the millisecond, read as written, so that a record
// read and written again holds the same values.
double milliseconds_exact(double seconds) { return std::round(seconds * 1000) / 1000; }

void read_fields(FieldReader& in, PartRecord& r) {
  in.seconds("from", &r.from, kEndSeconds);
  in.seconds("to", &r.to, kEndSeconds);
  in.whole("range_first", &r.range_first, 0, kMostFrames);
  in.whole("range_end", &r.range_end, r.range_first, kMostFrames);
  in.whole("fps", &r.fps, 1, 1000);
  in.whole("width", &r.size.width, 1, 65535);
  in.whole("height", &r.size.height, 1, 65535);
  in.whole("crf", &r.crf, 0, 51);
  in.whole("parts", &r.parts, 1, 100000);
  in.digest("choreography", &r.choreography);
  in.whole("part", &r.part, 0, r.parts - 1);
  in.whole("first_frame", &r.first_frame, 0, kMostFrames);
  in.whole("frame_count", &r.frame_count, 0, kMostFrames);
  in.whole("priming_frames", &r.priming_frames, 0, kMostFrames);
  in.seconds("priming_seconds", &r.priming_seconds, kMostSeconds);
  in.seconds("frames_seconds", &r.frames_seconds, kMostSeconds);
  in.seconds("total_seconds", &r.total_seconds, kMostSeconds);
  for (double* cost : {&r.priming_seconds, &r.frames_seconds, &r.total_seconds}) *cost = milliseconds_exact(*cost);
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
  const Json record = {{"from", r.from},
                       {"to", r.to},
                       {"range_first", r.range_first},
                       {"range_end", r.range_end},
                       {"fps", r.fps},
                       {"width", r.size.width},
                       {"height", r.size.height},
                       {"crf", r.crf},
                       {"parts", r.parts},
                       {"choreography", r.choreography},
                       {"part", r.part},
                       {"first_frame", r.first_frame},
                       {"frame_count", r.frame_count},
                       {"priming_frames", r.priming_frames},
                       {"priming_seconds", milliseconds_exact(r.priming_seconds)},
                       {"frames_seconds", milliseconds_exact(r.frames_seconds)},
                       {"total_seconds", milliseconds_exact(r.total_seconds)}};
  return record.dump() + "\n";
}

std::optional<PartRecord> parse_record(const std::string& text, const std::string& name, std::string* error) {
  std::string problem;
  const Json json = Json::parse(text, nullptr, false);
  PartRecord r;
  if (json.is_discarded()) {
    problem = name + " is not JSON (cut short, or not a record)";
  } else if (!json.is_object()) {
    problem = name + " holds " + std::string(json.type_name()) + ", not a record";
  } else {
    FieldReader in(json, name);
    read_fields(in, r);
    problem = in.error();
  }
  if (problem.empty()) return r;
  if (error) *error = problem;
  return std::nullopt;
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

std::optional<PartRecord> read_record(const std::string& out, std::string* error) {
  const std::string path = record_path(out);
  std::ifstream file(path);
  if (!file) return std::nullopt;
  std::stringstream text;
  text << file.rdbuf();
  return parse_record(text.str(), path, error);
}
