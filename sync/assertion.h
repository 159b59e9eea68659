#pragma once
// Assertions of the sync code.
//
// SYNC_ASSERT(condition, source) evaluates the condition in every build. When it
// fails, one line naming the condition (as written in the code, e.g. "mi != hi")
// and the source ("sync/track" or "sync/device") goes to stderr. A debug build
// (NDEBUG not defined) then stops with abort(); a release build (NDEBUG defined,
// as in the normal RelWithDebInfo build) carries on, and the caller continues
// with the defined fallback result (0.0 for an unknown interpolation code).
//
// Only four texts exist: "mi != hi", "lo == hi" and "0" in sync/track,
// "find_track(d, name) < 0" in sync/device.

// Reports a failed assertion; aborts unless the sync library was built with NDEBUG.
void sync_assert_failed(const char* condition, const char* source, int line);

#define SYNC_ASSERT(condition, source) \
  ((condition) ? static_cast<void>(0) : sync_assert_failed(#condition, source, __LINE__))
