#include "tools/tracks/dump_track.h"

#include <cerrno>
#include <cstring>

#include "sync/device.h"
#include "sync/memory.h"
#include "tools/tracks/number_text.h"
#include "tools/tracks/tracks_tool.h"

namespace {

const char* mode_name(Interpolation mode) {
  switch (mode) {
    case Interpolation::Step: return "Step";
    case Interpolation::Linear: return "Linear";
    case Interpolation::Smooth: return "Smooth";
    case Interpolation::Ramp: return "Ramp";
  }
  return "?";
}

long long count_remaining_bytes(std::FILE* file) {
  long long count = 0;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) count += static_cast<long long>(got);
  return count;
}

}  // namespace

int dump_track(const char* path, std::FILE* out, std::FILE* err) {
  // Checked before opening: a FIFO would block the open, /dev/zero never ends.
  if (const char* why = non_track_file_reason(path)) {
    std::fprintf(err, "velmorand-tracks: %s %s\n", path, why);
    return kToolFailed;
  }
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::fprintf(err, "velmorand-tracks: cannot open %s: %s\n", path, std::strerror(errno));
    return kToolFailed;
  }
  // The registry's own reader, so the verdict is the one the intro would reach.
  TrackKey* keys = nullptr;
  std::int32_t key_count = 0;
  char reason[192];
  const bool ok = read_track_keys(std::fread, file, &keys, &key_count, reason, sizeof reason);
  const long long extra = ok ? count_remaining_bytes(file) : 0;
  std::fclose(file);
  if (!ok) {
    std::fprintf(err, "velmorand-tracks: %s is malformed: %s\n", path, reason);
    return kToolFailed;
  }
  std::fprintf(out, "%s: %d %s\n", path, key_count, key_count == 1 ? "key" : "keys");
  for (std::int32_t k = 0; k < key_count; ++k) {
    std::fprintf(out, "%d: %s (%d) %s\n", keys[k].row, float_text(keys[k].value).c_str(),
                 static_cast<int>(keys[k].interpolation), mode_name(keys[k].interpolation));
  }
  if (extra > 0) std::fprintf(out, "(%lld bytes after the last key, which are not read)\n", extra);
  sync_free(keys);
  return kToolOk;
}
