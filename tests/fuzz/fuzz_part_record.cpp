// Fuzz target for the part records a cluster capture leaves in its shared
// folder, which a crashed node can leave cut short and anyone can edit. A
// record that reads writes back as text that reads again to the same values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tools/capture/part_record.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_part_record: %s\n", what);
    std::abort();
  }
}

// The reader and writer under test.
std::optional<PartRecord> read_text(const std::string& text) { return parse_record(text, "the record", nullptr); }
std::string write_text(const PartRecord& record) { return record_json(record); }

bool same_values(const PartRecord& a, const PartRecord& b) {
  return same_capture(a, b) && same_keys(a, b) && a.from == b.from && a.to == b.to && a.part == b.part &&
         a.first_frame == b.first_frame && a.frame_count == b.frame_count &&
         a.priming_frames == b.priming_frames && a.priming_seconds == b.priming_seconds &&
         a.frames_seconds == b.frames_seconds && a.total_seconds == b.total_seconds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto record = read_text(std::string(reinterpret_cast<const char*>(data), size));
  if (!record) return 0;
  const auto again = read_text(write_text(*record));
  check(again.has_value(), "a record that read does not read back from its own text");
  check(same_values(*record, *again), "a record read back from its own text has other values");
  return 0;
}
