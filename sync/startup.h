#pragma once
// The sync steps of the start-up routine, which the soundtrack start-up calls
// after decoding and before playback starts.
struct TrackRegistry;

// registry_create("sync/"), the 21 requests filling track_table, install_compiled_keys;
// on failure shows the message and exit(1).
//
// Failure means the registry can't be created, or memory runs out while a track
// is created or the compiled-in keys are installed: an information message box
// with the text "Sync init failed" and the caption "Error" (stderr when there
// is no display), then std::exit(1). The returned registry lives for the whole
// run; release it with registry_destroy at exit.
TrackRegistry* start_sync_tracks();
