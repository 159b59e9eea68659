#include "tools/capture/join_parts.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "src/asset_catalog.h"
#include "src/soundtrack.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_parts.h"
#include "tools/common/child_process.h"
#include "tools/offline/frame_grid.h"
#include "tools/common/os_process.h"
#include "tools/capture/output_paths.h"
#include "tools/capture/soundtrack_source.h"
#include "tools/capture/video_encoder.h"
#include "tools/capture/video_probe.h"
#include "tools/common/output_file.h"

namespace {

// The capture most of the parts belong to.
const PartRecord* majority(const std::vector<GivenPart>& parts) {
  const PartRecord* best = nullptr;
  int best_count = 0;
  for (const GivenPart& a : parts) {
    if (!a.record) continue;
    int count = 0;
    for (const GivenPart& b : parts) count += b.record && same_capture(*a.record, *b.record);
    if (count > best_count) best = &*a.record, best_count = count;
  }
  return best;
}

std::string part_label(int part, int parts) {
  return "part " + std::to_string(part) + "/" + std::to_string(parts);
}

std::string frames_text(int64_t first, int64_t end) {
  return "frames " + std::to_string(first) + " to " + std::to_string(end - 1);
}

// Missing and doubled parts, and parts that do not meet.
std::string index_problems(const std::vector<GivenPart>& parts, const PartRecord& capture) {
  std::map<int, const GivenPart*> by_index;
  std::string problems;
  for (const GivenPart& p : parts) {
    auto [at, fresh] = by_index.emplace(p.record->part, &p);
    if (!fresh)
      problems += part_label(p.record->part, capture.parts) + " is given twice: " + at->second->path + " and " +
                  p.path + "\n";
  }
  int64_t expected = capture.range_first;
  for (int k = 0; k < capture.parts; ++k) {
    auto at = by_index.find(k);
    if (at == by_index.end()) {
      auto next = by_index.upper_bound(k);
      int64_t end = next == by_index.end() ? capture.range_end : next->second->record->first_frame;
      problems += part_label(k, capture.parts) + " is missing (" + frames_text(expected, end) + ")\n";
      expected = end;
      continue;
    }
    const PartRecord& r = *at->second->record;
    if (r.first_frame != expected)
      problems += at->second->path + " starts at frame " + std::to_string(r.first_frame) + ", not " +
                  std::to_string(expected) + ", where the part before it ends\n";
    expected = r.first_frame + r.frame_count;
  }
  if (problems.empty() && expected != capture.range_end)
    problems += "the last part ends at frame " + std::to_string(expected - 1) +
                ", not at the range's last frame " + std::to_string(capture.range_end - 1) + "\n";
  return problems;
}

bool is_folder(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

std::string quoted_for_concat(const std::string& path) {
  std::string text = "'";
  for (char c : path) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

std::string absolute(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::absolute(path, ignored).generic_string();
}

// The list, the sound, the parts' pictures and the joined file, made beside
// the output (so the last step is a rename on one disk) and removed after.
class WorkFiles {
 public:
  explicit WorkFiles(const std::string& out) : stem_(parent_folder(out) + "/.velmorand-join-") {}
  ~WorkFiles() {
    std::error_code ignored;
    for (const std::string& f : files_) std::filesystem::remove(f, ignored);
  }
  // A new empty file ending in `suffix`; empty with the reason in `error`.
  std::string make(const std::string& suffix, std::string* error) {
    std::string reason, path = os::make_unique_file(stem_, suffix, &reason);
    if (path.empty()) *error = "cannot make a file beside the output: " + reason;
    else files_.push_back(path);
    return path;
  }
  // A fresh name for a file ffmpeg makes itself, so that it gets the usual
  // permissions rather than those of a private temporary file.
  std::string name(const std::string& suffix, std::string* error) {
    std::string path = make(suffix, error);
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove(path, ignored);
    return path;
  }

 private:
  std::string stem_;
  std::vector<std::string> files_;
};

bool write_sound(const std::string& wav, const PartRecord& capture, std::string* error) {
  AssetBytes song = soundtrack_asset();
  if (!decode_soundtrack(song.data, song.size)) {
    *error = "cannot decode the soundtrack";
    return false;
  }
  uint32_t from = frame_position(capture.range_first, capture.fps);
  uint32_t to = frame_position(capture.range_end, capture.fps);
  bool written = write_float_wav(wav, soundtrack_source(), from, to - from, error);
  release_soundtrack_pcm();
  return written;
}

int ffmpeg(std::vector<std::string> arguments, const std::string& failure, std::string* error) {
  arguments.insert(arguments.begin(), {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin"});
  int status = run_program(arguments, error);
  if (status != 0 && status != -1) *error = failure + " (ffmpeg's exit status " + std::to_string(status) + ")";
  return status == 0;
}

// The parts' pictures alone, each lasting exactly its frames: with their
// sound, or with the durations the containers round to milliseconds, the
// concat demuxer would shift the later parts' timestamps.
bool concatenate(const std::vector<GivenPart>& parts, WorkFiles& work, const std::string& sound,
                 const std::string& joined, std::string* error) {
  const std::string extension = joined.substr(joined.size() - 4), list_path = work.make(".txt", error);
  if (list_path.empty()) return false;
  std::string list;
  for (const GivenPart& p : parts) {
    std::string pictures = work.make(extension, error);
    if (pictures.empty() || !ffmpeg({"-i", p.path, "-map", "0:v:0", "-c", "copy", "-y", pictures},
                                    "cannot copy the pictures of " + p.path + " into " + pictures, error))
      return false;
    char duration[64];
    std::snprintf(duration, sizeof duration, "%.12f", double(p.record->frame_count) / p.record->fps);
    list += "file " + quoted_for_concat(absolute(pictures)) + "\nduration " + duration + "\n";
  }
  if (!write_whole_file(list_path, {reinterpret_cast<const uint8_t*>(list.data()), list.size()}, error))
    return false;
  std::vector<std::string> command = {"-f",   "concat", "-safe", "0",     "-i",   list_path,
                                      "-i",   sound,    "-map",  "0:v:0", "-map", "1:a:0",
                                      "-c:v", "copy",   "-c:a",  "aac",   "-b:a", "192k"};
  if (extension == ".mp4") command.insert(command.end(), {"-movflags", "+faststart"});
  command.insert(command.end(), {"-y", joined});
  return ffmpeg(command, "ffmpeg failed joining the parts into " + joined, error);
}

void report(const std::vector<GivenPart>& parts, const std::string& out) {
  double sum = 0, priming = 0, longest = 0;
  for (const GivenPart& p : parts) {
    const PartRecord& r = *p.record;
    char line[200];
    std::snprintf(line, sizeof line,
                  "part %d: %lld frames in %.1f s, %lld replayed first in %.1f s, %.1f s in all", r.part,
                  static_cast<long long>(r.frame_count), r.frames_seconds,
                  static_cast<long long>(r.priming_frames), r.priming_seconds, r.total_seconds);
    capture_message(line);
    sum += r.total_seconds, priming += r.priming_seconds, longest = std::max(longest, r.total_seconds);
  }
  const PartRecord& r = *parts.front().record;
  char line[300];
  std::snprintf(line, sizeof line,
                "joined %zu parts, %s (%lld frames), into %s; the parts took %.1f s together, %.1f s of it "
                "(%.1f%%) replaying frames, the longest %.1f s",
                parts.size(), frames_text(r.range_first, r.range_end).c_str(),
                static_cast<long long>(r.range_end - r.range_first), out.c_str(), sum, priming,
                sum > 0 ? 100 * priming / sum : 0.0, longest);
  capture_message(line);
}

}  // namespace

std::string coverage_problems(std::vector<GivenPart>& parts) {
  std::string problems;
  for (const GivenPart& p : parts)
    if (!p.record && !p.record_problem.empty())
      problems += p.path + " has a record that cannot be read: " + p.record_problem + "\n";
    else if (!p.record)
      problems += p.path + " has no record " + record_path(p.path) + ": not a part, or one that never finished\n";
  const PartRecord* capture = majority(parts);
  if (!capture) return problems;
  for (const GivenPart& p : parts)
    if (p.record && !same_capture(*p.record, *capture))
      problems += p.path + " is a part of another capture: " + capture_text(*p.record) + ", not " +
                  capture_text(*capture) + "\n";
    else if (p.record && !same_keys(*p.record, *capture))
      problems += p.path + " was made from other key lists (digest " + p.record->choreography + ", not " +
                  capture->choreography + "): capture it again with the same --choreography\n";
  if (!problems.empty()) return problems;
  problems = index_problems(parts, *capture);
  std::sort(parts.begin(), parts.end(),
            [](const GivenPart& a, const GivenPart& b) { return a.record->first_frame < b.record->first_frame; });
  return problems;
}

CaptureExit run_join(const JoinRequest& request) {
  std::string error;
  std::vector<GivenPart> parts;
  for (const std::string& path : request.parts) {
    if (is_folder(path)) {
      capture_message(path + " is a folder of PNG frames; --join joins video parts");
      return CaptureExit::BadArguments;
    }
    GivenPart part{path};
    part.record = read_record(path, &part.record_problem);
    parts.push_back(part);
  }
  std::string problems = coverage_problems(parts);
  // Only parts that fit together are worth probing.
  if (problems.empty())
    for (const GivenPart& p : parts) {
      std::string problem = part_output_problem(p.path, *p.record);
      if (!problem.empty()) problems += problem + "\n";
    }
  if (!problems.empty()) {
    capture_message("cannot join:\n" + problems.substr(0, problems.size() - 1));
    return CaptureExit::BadArguments;
  }
  if (find_on_path("ffmpeg").empty()) {
    capture_message(kFfmpegMissing);
    return CaptureExit::OutputFailed;
  }
  WorkFiles work(request.out);
  const PartRecord& capture = *parts.front().record;
  const std::string joined = work.name(request.out.substr(request.out.size() - 4), &error);
  const std::string sound = joined.empty() ? "" : work.make(".wav", &error);
  bool ok = !sound.empty() && write_sound(sound, capture, &error) &&
            concatenate(parts, work, sound, joined, &error);
  int64_t frames = ok ? count_video_frames(joined, &error) : -1;
  if (ok && frames != capture.range_end - capture.range_first) {
    ok = false;
    if (frames >= 0)
      error = "the joined video holds " + std::to_string(frames) + " frames, not the range's " +
              std::to_string(capture.range_end - capture.range_first);
  }
  std::error_code failure;
  if (ok) std::filesystem::rename(joined, request.out, failure);
  if (failure) {
    ok = false;
    error = "cannot write " + request.out + ": " + failure.message();
  }
  if (!ok) {
    // Named by the file asked for: the work files are gone by now, and a
    // full disk shows only as a work file that ffmpeg could not finish.
    capture_message(failure ? error : "cannot write " + request.out + ": " + error);
    return CaptureExit::OutputFailed;
  }
  report(parts, request.out);
  return CaptureExit::Done;
}
