#include "sync/startup.h"

#include <cstdlib>

#include "platform/window/message_box.h"
#include "sync/choreography.h"
#include "sync/device.h"

namespace {

[[noreturn]] void sync_init_failed(TrackRegistry* registry) {
  registry_destroy(registry);
  for (Track*& entry : track_table) entry = nullptr;
  platform::show_info_message("Sync init failed", "Error");
  std::exit(1);
}

}  // namespace

TrackRegistry* start_sync_tracks() {
  TrackRegistry* registry = registry_create("sync/");
  if (registry == nullptr) sync_init_failed(nullptr);
  for (int i = 0; i < kSyncTrackCount; ++i) {
    track_table[i] = registry_get_track(registry, track_names[i]);
    if (track_table[i] == nullptr) sync_init_failed(registry);
  }
  if (!install_compiled_keys(registry)) sync_init_failed(registry);
  return registry;
}
