#pragma once
// velmorand-tracks: prints track values at a playback time, exports the
// compiled-in keys as track files, and dumps (and checks) a track file.
//
//   velmorand-tracks --at SECONDS    one "name value" line per evaluation
//   velmorand-tracks --export DIR    the 21 track files, as the registry reads them
//   velmorand-tracks --dump FILE     a track file's keys, or why it is malformed
//   velmorand-tracks --export-text DIR / --import-text DIR [FILE]
//                                    the key lists as text files, and back
//   velmorand-tracks --help
//
// Exit status: 0 success, 1 the operation failed (unreadable or malformed
// file, a write error), 2 bad arguments.
#include <cstdio>

inline constexpr int kToolOk = 0;
inline constexpr int kToolFailed = 1;
inline constexpr int kToolUsage = 2;

// The whole tool, writing to `out` and `err` instead of stdout and stderr.
int run_tracks_tool(int argc, const char* const argv[], std::FILE* out, std::FILE* err);
