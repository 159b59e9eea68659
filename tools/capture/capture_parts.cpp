#include "tools/capture/capture_parts.h"

#include <chrono>
#include <filesystem>

#include "tools/capture/output_paths.h"
#include "tools/capture/video_probe.h"
#include "tools/common/argument_values.h"
#include "tools/common/choreography_digest.h"
#include "tools/common/choreography_tracks.h"
#include "tools/offline/frame_grid.h"
#include "tools/offline/offline_frames.h"

const char kPartsUsage[] =
    "In parts, one per machine (see \"Capturing on a cluster\" in README.md):\n"
    "  --part K/N   render only part K (from 0) of N contiguous parts of the range, cut so that\n"
    "               each costs about the same, and record it in OUT.part.json\n"
    "  --check      with --part: render nothing; exit 0 when that part is complete, 5 when not\n"
    "velmorand-capture --join PART... --out FILE.mp4|.mkv\n"
    "  joins the video parts of one capture without re-encoding, under the sound of the range;\n"
    "  refuses parts that are missing, doubled or from another capture\n";

namespace {

// The digest of the keys the capture renders: the compiled-in ones with the lists laid over.
std::string keys_digest(const CaptureOptions& o) {
  const ChoreographyTracks tracks(o.key_lists.get());
  return choreography_digest();
}

PartRecord record_of(const CaptureOptions& o, const PartRequest& request, FrameSlice slice) {
  PartRecord r;
  r.choreography = keys_digest(o);
  r.from = o.from, r.to = o.to;
  r.range_first = first_frame_at(o.from, o.fps), r.range_end = first_frame_at(o.to, o.fps);
  r.fps = o.fps, r.size = o.size, r.crf = o.kind == OutputKind::Video ? o.crf : 0, r.parts = request.parts;
  r.part = request.part, r.first_frame = slice.first, r.frame_count = slice.count;
  return r;
}

// The slice this part renders; nullopt after a message.
std::optional<FrameSlice> slice_of(const CaptureOptions& o, const PartRequest& request) {
  if (!o.at.empty()) {
    capture_message("--part splits a range; it cannot be combined with --at");
    return std::nullopt;
  }
  std::string error;
  std::vector<FrameSlice> slices = capture_slices(o, request.parts, &error);
  if (slices.empty()) {
    capture_message(error);
    return std::nullopt;
  }
  return slices[request.part];
}

std::string part_name(const PartRequest& request) {
  return "part " + std::to_string(request.part) + "/" + std::to_string(request.parts);
}

}  // namespace

std::vector<FrameSlice> capture_slices(const CaptureOptions& o, int parts, std::string* error) {
  // Cut by the keys the parts render: the lists move where the costly frames lie.
  const ChoreographyTracks tracks(o.key_lists.get());
  if (!tracks.ok()) {
    *error = "out of memory for the keys of " + o.key_lists->dir;
    return {};
  }
  SliceRequest request{first_frame_at(o.from, o.fps), first_frame_at(o.to, o.fps), parts, o.fps, o.size};
  return split_frames(request, intro_glitch_credits(), error);
}

CaptureExit capture_part(const CaptureOptions& o, const PartRequest& request) {
  auto slice = slice_of(o, request);
  if (!slice) return CaptureExit::BadArguments;
  // A record left by an earlier run must not vouch for what this one writes.
  std::error_code ignored;
  std::filesystem::remove(record_path(o.out), ignored);
  CaptureOptions part = o;
  part.from = double(slice->first) / o.fps;
  part.to = double(slice->first + slice->count) / o.fps;
  capture_message(part_name(request) + " of frames " + std::to_string(first_frame_at(o.from, o.fps)) + " to " +
                  std::to_string(first_frame_at(o.to, o.fps) - 1));
  auto start = std::chrono::steady_clock::now();
  RangeTimes times;
  CaptureExit result = run_capture(part, &times);
  if (result != CaptureExit::Done) return result;
  PartRecord record = record_of(o, request, *slice);
  record.priming_frames = times.priming_frames;
  record.priming_seconds = times.priming_seconds;
  record.frames_seconds = times.frames_seconds;
  record.total_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::string error;
  if (!write_record(o.out, record, &error)) {
    capture_message(error);
    return CaptureExit::OutputFailed;
  }
  return CaptureExit::Done;
}

std::string part_output_problem(const std::string& out, const PartRecord& record) {
  std::error_code ignored;
  if (std::filesystem::is_directory(out, ignored)) {
    for (int64_t k = record.first_frame; k < record.first_frame + record.frame_count; ++k)
      if (!std::filesystem::exists(frame_png_path(out, k), ignored)) return frame_png_path(out, k) + " is missing";
    return {};
  }
  std::string error;
  int64_t frames = count_video_frames(out, &error);
  if (frames < 0) return error;
  if (frames != record.frame_count)
    return out + " holds " + std::to_string(frames) + " frames, its record says " +
           std::to_string(record.frame_count);
  return {};
}

CaptureExit check_part(const CaptureOptions& o, const PartRequest& request) {
  auto slice = slice_of(o, request);
  if (!slice) return CaptureExit::BadArguments;
  const std::string frames = "frames " + std::to_string(slice->first) + " to " +
                             std::to_string(slice->first + slice->count - 1);
  auto incomplete = [&](const std::string& why) {
    capture_message(part_name(request) + " (" + frames + ") is not complete: " + why);
    return CaptureExit::PartIncomplete;
  };
  std::string unreadable;
  auto record = read_record(o.out, &unreadable);
  if (!record && !unreadable.empty()) return incomplete("its record cannot be read: " + unreadable);
  if (!record) return incomplete("no record " + record_path(o.out) + " (the part never finished)");
  PartRecord wanted = record_of(o, request, *slice);
  if (!same_capture(*record, wanted) || record->part != request.part)
    return incomplete("its record is of part " + std::to_string(record->part) + " of " + capture_text(*record));
  if (!same_keys(*record, wanted))
    return incomplete("it was made from other keys (digest " + record->choreography + ", these lists give " +
                      wanted.choreography + ")");
  if (record->first_frame != slice->first || record->frame_count != slice->count)
    return incomplete("it holds frames " + std::to_string(record->first_frame) + " to " +
                      std::to_string(record->first_frame + record->frame_count - 1));
  std::string problem = part_output_problem(o.out, *record);
  if (!problem.empty()) return incomplete(problem);
  capture_message(part_name(request) + " (" + frames + ") is complete: " + o.out);
  return CaptureExit::Done;
}
