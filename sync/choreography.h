#pragma once
// The compiled-in choreography: 21 named tracks with 1,492 keys in
// all, carried as constant data; the table of their names, the table of track
// pointers the runtime reads every frame, and the installation of the keys.
#include <cstdint>

struct Track;
struct TrackRegistry;

inline constexpr int kSyncTrackCount = 21;
inline constexpr int kCompiledKeyTotal = 1492;

// The 21 track names in their fixed order: position i here is position i in
// the registry and in track_table (0 "camera:pos_x" ... 20 "PostProcess:glitchCredits").
extern const char* const track_names[kSyncTrackCount];

// "PostProcess:glitchCredits": the track whose value switches the pass chain
// to the logo particles and seeds them (src/pass_schedule.h).
inline constexpr int kGlitchCreditsTrack = 20;

// Entry i is the track returned for track_names[i]; filled once at start-up
// (sync/startup.h) and read by the runtime every frame. The registry owns the tracks.
extern Track* track_table[kSyncTrackCount];

// The compiled-in keys of one track: N(i) and three parallel constant arrays.
// Key k is (rows[k], values[k], codes[k]).
struct CompiledTrack {
  std::int32_t key_count;
  const std::int32_t* rows;
  const std::int32_t* codes;  // Interpolation codes (0 Step ... 3 Ramp)
  const float* values;
  const char* list;  // the key list the arrays are expanded from
};
extern const CompiledTrack compiled_tracks[kSyncTrackCount];

// Gives each of the registry's first 21 tracks (by position, not by name) its
// compiled-in keys, releasing the keys it held. Must run on a fresh registry
// right after the 21 requests of the start-up. Returns false, after one line on
// stderr, when the registry holds fewer than 21 tracks or a key array can't be
// allocated (that track is then left empty); the start-up then takes the
// "Sync init failed" path.
bool install_compiled_keys(TrackRegistry* registry);
