#pragma once
// velmorand-capture --join PART... --out FILE.mp4|.mkv: the video parts of
// one capture, checked to cover its range exactly once, joined without
// re-encoding (ffmpeg's concat demuxer, stream copy) under the sound of the
// whole range, encoded once. The output appears only once its frame count
// is the range's.

#include <optional>
#include <string>
#include <vector>

#include "tools/capture/capture_run.h"
#include "tools/capture/join_options.h"
#include "tools/capture/part_record.h"

struct GivenPart {
  std::string path;
  std::optional<PartRecord> record;
  std::string record_problem;  // why a record that is there could not be read
};

CaptureExit run_join(const JoinRequest& request);

// Every reason these parts are not, together, one whole capture (missing,
// doubled, unfinished or foreign parts, gaps), one a line; empty when they
// are, and then `parts` is in frame order.
std::string coverage_problems(std::vector<GivenPart>& parts);
