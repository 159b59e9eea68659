#pragma once
// A capture in parts, for machines that each render one: --part K/N renders
// the K-th of N slices of the range (priming the carried effects as a still
// does) and leaves a record beside its output; with --check it renders
// nothing and says whether that part is already complete.

#include <optional>
#include <string>
#include <vector>

#include "tools/capture/capture_options.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/part_options.h"
#include "tools/capture/part_record.h"
#include "tools/capture/part_slices.h"

// The slices of a range capture, by the intro's own choreography.
std::vector<FrameSlice> capture_slices(const CaptureOptions& options, int parts, std::string* error);

CaptureExit capture_part(const CaptureOptions& options, const PartRequest& request);

// Done when the part's record is there, belongs to this capture and slice,
// and its output holds every frame the record names; PartIncomplete
// otherwise, with the reason.
CaptureExit check_part(const CaptureOptions& options, const PartRequest& request);

// Why a finished part's output does not hold what its record says; empty
// when it does.
std::string part_output_problem(const std::string& out, const PartRecord& record);

extern const char kPartsUsage[];
