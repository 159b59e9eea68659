#include "tools/tracks/values_at.h"

#include "src/pass_schedule.h"
#include "sync/choreography.h"
#include "sync/track.h"
#include "tools/common/choreography_tracks.h"
#include "tools/tracks/number_text.h"
#include "tools/tracks/tracks_tool.h"

int print_values_at(float seconds, const KeyListFolder* lists, std::FILE* out, std::FILE* err) {
  // The same start-up as the intro's, track files in the working directory included.
  const ChoreographyTracks tracks(lists);
  if (!tracks.ok()) {
    std::fputs("velmorand-tracks: out of memory for the keys of the lists\n", err);
    return kToolFailed;
  }
  const double row = seconds_to_row(seconds, 0.0);
  const double ahead = seconds_to_row(seconds, kLookAheadSeconds);
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const float value = static_cast<float>(track_value_at(track_table[i], row));
    std::fprintf(out, "%s %s\n", track_names[i], float_text(value).c_str());
  }
  for (int i = 0; i < kCameraTrackCount; ++i) {
    const float value = static_cast<float>(track_value_at(track_table[i], ahead));
    std::fprintf(out, "%s@look-ahead %s\n", track_names[i], float_text(value).c_str());
  }
  return kToolOk;
}
