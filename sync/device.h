#pragma once
// The track registry, name encoding and track files.
//
// The registry owns all tracks. It hands them out by name, creating a track the
// first time its name is asked for and filling it at that moment from a track
// file in the working directory, if there is one. The program only reads track
// files; it never writes one (the velmorand-tracks tool does, for choreographers).
//
// Track file format (little-endian, no header): int32 key count, then per key
// int32 row, float32 value, int8 interpolation code; 4 + 9 x count bytes.
//
// Only regular files are read: anything else under a track file's name is
// skipped with one line on stderr.
//
// Bad input never leaves a track whose key_count claims keys it does not hold:
// a file that is shorter than 4 bytes, has a negative count, is shorter than
// 4 + 9 x count bytes, holds an interpolation code outside 0-3 or rows that are
// not strictly ascending is rejected: the track stays empty, the file is closed, and one line on stderr names the
// file and the reason. A failed key allocation does the same. Running out of memory while creating the track
// record, copying its name or growing `tracks` makes registry_get_track report it on stderr and return null; the
// start-up then takes the "Sync init failed" path (sync/startup.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "sync/track.h"

using TrackFileOpen = std::FILE* (*)(const char* path, const char* mode);
using TrackFileRead = std::size_t (*)(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
using TrackFileClose = int (*)(std::FILE* file);

struct TrackRegistry {
  char* base;                // encoded base name ("sync/" is stored as "sync-2F")
  Track** tracks;            // the tracks, in order of creation
  std::int32_t track_count;  // number of tracks
  TrackFileOpen open;        // fopen at creation; the only access to storage
  TrackFileRead read;        // fread at creation
  TrackFileClose close;      // fclose at creation
};

// A new, empty registry, or null when memory runs out.
TrackRegistry* registry_create(const char* base);

// Releases the registry and everything it owns. Null is allowed.
void registry_destroy(TrackRegistry* registry);

// The position of the first track whose name equals `name` byte for byte, or -1.
std::int32_t find_track(const TrackRegistry* d, const char* name);

// The track of that name; a new track is created, appended and loaded from its
// track file when there is none yet. Null only when memory runs out while
// creating the track record, copying its name or growing `tracks` (reported on
// stderr; the registry is left as it was).
Track* registry_get_track(TrackRegistry* d, const char* name);

// The encoded form of a name: ASCII letters, digits, "." and "_" unchanged,
// every other byte as "-" and two upper-case hex digits; cut, never inside an
// escape, at 259 characters. The result lives in a static 260-byte buffer,
// valid until the next call.
const char* encode_path_component(const char* text);

// base (taken unchanged), "_", the encoded name and ".track", cut at 259
// characters. The result lives in a second static 260-byte buffer, valid until
// the next call.
const char* track_file_name(const char* base, const char* name);

// Why something at `path` cannot be a track file: a folder, or a FIFO,
// device or socket, which could block the reader for good or never end. Null
// for a regular file and for nothing at all. Looked up without opening it.
const char* non_track_file_reason(const char* path);

// Size of the two static buffers.
inline constexpr std::size_t kTrackPathBufferSize = 260;

// Reads the keys of one track file from an open file with `read`, validating
// them as described at the top of this file. On success *keys and *key_count
// hold the keys (null and 0 for an empty file; release with sync_free) and the
// result is true. On rejection *keys is null, *key_count 0, the result false and
// `reason` (when not null) holds why, as one line without a newline. It neither
// opens nor closes the file. The registry's loader and `velmorand-tracks --dump`
// both use it.
bool read_track_keys(TrackFileRead read, std::FILE* file, TrackKey** keys, std::int32_t* key_count, char* reason,
                     std::size_t reason_size);

namespace sync_detail {
// The part of registry_get_track for a name that is not registered yet: create
// the track, append it, load its file. Returns its position, or -1 when memory
// runs out. Exposed for the tests of the "find_track(d, name) < 0" assertion.
std::int32_t create_track(TrackRegistry* d, const char* name);
}  // namespace sync_detail
