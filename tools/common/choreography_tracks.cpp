#include "tools/common/choreography_tracks.h"

#include "sync/device.h"
#include "sync/startup.h"

ChoreographyTracks::ChoreographyTracks(const KeyListFolder* lists)
    : registry_(start_sync_tracks()), ok_(lists == nullptr || lay_over_tracks(*lists)) {}

ChoreographyTracks::~ChoreographyTracks() {
  registry_destroy(registry_);
  for (Track*& entry : track_table) entry = nullptr;
}
