// The compiled-in keys, written in the choreographers' list notation
// (sync/choreography_lists.h) and expanded while compiling
// (sync/choreography_list.h checks every list: its grammar, each bracket's A,
// B, P and n, codes 0-3, ascending rows and the stated key count).
// tests/sync/choreography_test.cpp checks the result against the per-track
// summary (counts, first and last rows, value ranges, modes) and spot values.
#include "sync/choreography.h"

#include <cstdio>

#include "sync/choreography_list.h"
#include "sync/choreography_lists.h"
#include "sync/device.h"
#include "sync/memory.h"
#include "sync/track.h"

void choreography::list_error(const char* what) {
  // Only reachable at compile time, where it stops the build.
  std::fprintf(stderr, "choreography: %s\n", what);
}

const char* const track_names[kSyncTrackCount] = {
    "camera:pos_x",      "camera:pos_y",       "camera:pos_z",
    "camera:target_x",   "camera:target_y",    "camera:target_z",
    "camera:roll",       "camera:pitch",       "camera:fov",
    "fade:black",        "fade:white",         "scene:sunTime",
    "scene:showLogo",    "scene:cubeIllum",    "scene:bloom",
    "scene:cubesRepeat", "scene:plasmaOffset", "Texts:vlmArmy",
    "Texts:credits",     "PostProcess:glitch", "PostProcess:glitchCredits",
};

Track* track_table[kSyncTrackCount] = {};

namespace {

using choreography::expand;
namespace lists = choreography::lists;

template <int N>
constexpr CompiledTrack compiled(const choreography::KeyArrays<N>& keys, const char* list) {
  return CompiledTrack{N, keys.rows.data(), keys.codes.data(), keys.values.data(), list};
}

// In the order of track_names.
constexpr auto camera_pos_x = expand<lists::camera_pos_x_keys>(lists::camera_pos_x);
constexpr auto camera_pos_y = expand<lists::camera_pos_y_keys>(lists::camera_pos_y);
constexpr auto camera_pos_z = expand<lists::camera_pos_z_keys>(lists::camera_pos_z);
constexpr auto camera_target_x = expand<lists::camera_target_x_keys>(lists::camera_target_x);
constexpr auto camera_target_y = expand<lists::camera_target_y_keys>(lists::camera_target_y);
constexpr auto camera_target_z = expand<lists::camera_target_z_keys>(lists::camera_target_z);
constexpr auto camera_roll = expand<lists::camera_roll_keys>(lists::camera_roll);
constexpr auto camera_pitch = expand<lists::camera_pitch_keys>(lists::camera_pitch);
constexpr auto camera_fov = expand<lists::camera_fov_keys>(lists::camera_fov);
constexpr auto fade_black = expand<lists::fade_black_keys>(lists::fade_black);
constexpr auto fade_white = expand<lists::fade_white_keys>(lists::fade_white);
constexpr auto scene_suntime = expand<lists::scene_suntime_keys>(lists::scene_suntime);
constexpr auto scene_showlogo = expand<lists::scene_showlogo_keys>(lists::scene_showlogo);
constexpr auto scene_cubeillum = expand<lists::scene_cubeillum_keys>(lists::scene_cubeillum);
constexpr auto scene_bloom = expand<lists::scene_bloom_keys>(lists::scene_bloom);
constexpr auto scene_cubesrepeat = expand<lists::scene_cubesrepeat_keys>(lists::scene_cubesrepeat);
constexpr auto scene_plasmaoffset = expand<lists::scene_plasmaoffset_keys>(lists::scene_plasmaoffset);
constexpr auto texts_vlmarmy = expand<lists::texts_vlmarmy_keys>(lists::texts_vlmarmy);
constexpr auto texts_credits = expand<lists::texts_credits_keys>(lists::texts_credits);
constexpr auto postprocess_glitch = expand<lists::postprocess_glitch_keys>(lists::postprocess_glitch);
constexpr auto postprocess_glitchcredits = expand<lists::postprocess_glitchcredits_keys>(
    lists::postprocess_glitchcredits);

}  // namespace

const CompiledTrack compiled_tracks[kSyncTrackCount] = {
    compiled(camera_pos_x, lists::camera_pos_x),
    compiled(camera_pos_y, lists::camera_pos_y),
    compiled(camera_pos_z, lists::camera_pos_z),
    compiled(camera_target_x, lists::camera_target_x),
    compiled(camera_target_y, lists::camera_target_y),
    compiled(camera_target_z, lists::camera_target_z),
    compiled(camera_roll, lists::camera_roll),
    compiled(camera_pitch, lists::camera_pitch),
    compiled(camera_fov, lists::camera_fov),
    compiled(fade_black, lists::fade_black),
    compiled(fade_white, lists::fade_white),
    compiled(scene_suntime, lists::scene_suntime),
    compiled(scene_showlogo, lists::scene_showlogo),
    compiled(scene_cubeillum, lists::scene_cubeillum),
    compiled(scene_bloom, lists::scene_bloom),
    compiled(scene_cubesrepeat, lists::scene_cubesrepeat),
    compiled(scene_plasmaoffset, lists::scene_plasmaoffset),
    compiled(texts_vlmarmy, lists::texts_vlmarmy),
    compiled(texts_credits, lists::texts_credits),
    compiled(postprocess_glitch, lists::postprocess_glitch),
    compiled(postprocess_glitchcredits, lists::postprocess_glitchcredits),
};

bool install_compiled_keys(TrackRegistry* registry) {
  if (registry->track_count < kSyncTrackCount) {
    std::fprintf(stderr, "sync: install_compiled_keys needs 21 tracks, the registry holds %d\n",
                 registry->track_count);
    return false;
  }
  for (int i = 0; i < kSyncTrackCount; ++i) {
    Track* track = registry->tracks[i];
    const CompiledTrack& compiled = compiled_tracks[i];
    sync_free(track->keys);  // those read from its track file, if any
    track->keys = nullptr;
    track->key_count = 0;
    auto* keys = static_cast<TrackKey*>(
        sync_malloc(static_cast<std::size_t>(compiled.key_count) * sizeof(TrackKey)));
    if (keys == nullptr) {
      std::fprintf(stderr, "sync: out of memory for the %d compiled-in keys of \"%s\"\n", compiled.key_count,
                   track->name);
      return false;
    }
    for (std::int32_t k = 0; k < compiled.key_count; ++k) {
      keys[k] = TrackKey{compiled.rows[k], compiled.values[k], static_cast<Interpolation>(compiled.codes[k])};
    }
    track->keys = keys;
    track->key_count = compiled.key_count;
  }
  return true;
}
