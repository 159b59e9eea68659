#pragma once
// The record a part of a capture leaves beside its output, NAME.part.json:
// what capture the part belongs to, which frames it holds, and what it cost.
// It is written last, once the output is whole, so a part without a record
// is not finished.

#include <cstdint>
#include <optional>
#include <string>

#include "src/render_sizes.h"

struct PartRecord {
  // The capture the part belongs to: equal for every part of it.
  double from = 0, to = 0;                 // the range in seconds
  int64_t range_first = 0, range_end = 0;  // its frames [first, end)
  int fps = 0;
  Size size;
  int crf = 0;
  int parts = 0;
  // The digest of the keys rendered (tools/common/choreography_digest.h):
  // parts made from different key lists do not make one capture.
  std::string choreography;
  // This part.
  int part = 0;
  int64_t first_frame = 0, frame_count = 0;
  int64_t priming_frames = 0;
  double priming_seconds = 0;  // rendering the replayed frames
  double frames_seconds = 0;   // rendering and writing its own frames
  double total_seconds = 0;    // the whole run, start-up and muxing included
};

// Whether two records describe parts of the same capture (the keys aside:
// same_keys tells those apart, so a join can say which it was).
bool same_capture(const PartRecord& a, const PartRecord& b);
bool same_keys(const PartRecord& a, const PartRecord& b);

// "frames 0 to 44 of 160x90 at 30 fps (crf 0) in 3 parts"
std::string capture_text(const PartRecord& r);

// NAME.part.json for an output NAME (a video file or a folder).
std::string record_path(const std::string& out);

// One JSON object, the fields in the order of PartRecord.
std::string record_json(const PartRecord& r);
// Nullopt for text that is not a whole record: not JSON, a field missing, of
// the wrong type or out of its range. `error`, when given, then says why,
// naming `name` (the file) and the field.
std::optional<PartRecord> parse_record(const std::string& text, const std::string& name = "the record",
                                       std::string* error = nullptr);

// Written to a temporary name and renamed, so a reader never sees half a record.
bool write_record(const std::string& out, const PartRecord& r, std::string* error);
// The record of output `out`; nullopt when there is none, or, with why in
// `error`, when it cannot be read.
std::optional<PartRecord> read_record(const std::string& out, std::string* error = nullptr);
