// Fuzz target for the track-file loader and the name encoding.
//
// The input is served as the track file of one track. Checked for every input:
// the loader accepts exactly the files that a straightforward reading of the
// format accepts, with exactly their keys, and otherwise leaves the track
// empty; the file is closed once; every key evaluates to its own value at its
// row; running out of memory at any allocation is survived without a leak.
// The input is also encoded as a name: the result stays within 259 characters
// and decodes back to a prefix of the input.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sync/device.h"
#include "sync/memory.h"
#include "sync/track.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_track_file: %s\n", what);
    std::abort();
  }
}

// The in-memory file.
const std::uint8_t* g_data = nullptr;
std::size_t g_size = 0;
std::size_t g_position = 0;
int g_open = 0;
char g_token;

std::FILE* memory_open(const char*, const char*) {
  ++g_open;
  g_position = 0;
  return reinterpret_cast<std::FILE*>(&g_token);
}

std::size_t memory_read(void* buffer, std::size_t size, std::size_t count, std::FILE*) {
  std::size_t items = 0;
  while (items < count && g_position + size <= g_size) {
    std::memcpy(static_cast<char*>(buffer) + items * size, g_data + g_position, size);
    g_position += size;
    ++items;
  }
  return items;
}

int memory_close(std::FILE*) {
  --g_open;
  return 0;
}

// Allocation that fails at the n-th request (0: never).
long g_fail_at = 0;
long g_allocations = 0;
void* failing_allocate(std::size_t size) { return ++g_allocations == g_fail_at ? nullptr : std::malloc(size); }
void* failing_reallocate(void* block, std::size_t size) {
  return ++g_allocations == g_fail_at ? nullptr : std::realloc(block, size);
}

// The keys a straightforward reading of the format gives, or false.
bool reference_keys(const std::uint8_t* data, std::size_t size, std::vector<TrackKey>* keys) {
  if (size < 4) return false;
  std::int32_t count;
  std::memcpy(&count, data, 4);
  if (count < 0 || static_cast<std::uint64_t>(size) < 4 + 9 * static_cast<std::uint64_t>(count)) return false;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::uint8_t* p = data + 4 + 9 * static_cast<std::size_t>(k);
    TrackKey key;
    std::memcpy(&key.row, p, 4);
    std::memcpy(&key.value, p + 4, 4);
    const auto code = static_cast<std::int8_t>(p[8]);
    if (code < 0 || code > 3) return false;
    if (k > 0 && key.row <= keys->back().row) return false;
    key.interpolation = static_cast<Interpolation>(code);
    keys->push_back(key);
  }
  return true;
}

// At its own row a key gives its own value, unless the float32 difference to
// the next key overflows (then t * d is 0 * inf, whatever the mode).
void check_value_at_key(const Track* track, std::int32_t k) {
  const TrackKey& key = track->keys[k];
  if (k + 1 < track->key_count && key.interpolation != Interpolation::Step &&
      !std::isfinite(track->keys[k + 1].value - key.value)) {
    return;
  }
  const double value = track_value_at(track, key.row);
  check(value == key.value || (value != value && key.value != key.value), "a key row does not give the key value");
}

void check_loaded_track(const Track* track, const std::uint8_t* data, std::size_t size) {
  std::vector<TrackKey> expected;
  if (!reference_keys(data, size, &expected)) expected.clear();
  check(track->key_count == static_cast<std::int32_t>(expected.size()), "key count differs from the file");
  check((track->keys == nullptr) == (track->key_count == 0), "keys and key count disagree");
  for (std::int32_t k = 0; k < track->key_count; ++k) {
    const TrackKey& a = track->keys[k];
    const TrackKey& b = expected[static_cast<std::size_t>(k)];
    check(a.row == b.row && std::memcmp(&a.value, &b.value, 4) == 0 && a.interpolation == b.interpolation,
          "a key differs from the file");
    if (k < 64) check_value_at_key(track, k);
  }
  const double far_before = track_value_at(track, -1e300);
  const double before = track_value_at(track, -1e299);
  check(std::memcmp(&far_before, &before, sizeof before) == 0, "values before the first key differ");
}

void load_once(const std::uint8_t* data, std::size_t size, long fail_at) {
  g_data = data;
  g_size = size;
  g_fail_at = 0;
  TrackRegistry* d = registry_create("sync/");
  check(d != nullptr, "registry_create failed");
  d->open = memory_open;
  d->read = memory_read;
  d->close = memory_close;
  g_allocations = 0;
  g_fail_at = fail_at;
  Track* track = registry_get_track(d, "fuzz:track");
  g_fail_at = 0;
  check(g_open == 0, "the file was left open");
  if (track != nullptr) {
    if (fail_at == 0) {
      check_loaded_track(track, data, size);
    } else {
      check((track->keys == nullptr) == (track->key_count == 0), "keys and key count disagree");
    }
  } else {
    check(fail_at != 0 && d->track_count == 0, "no track without running out of memory");
  }
  registry_destroy(d);
}

void check_encoding(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);  // up to the first NUL
  const std::string encoded = encode_path_component(name.c_str());
  check(encoded.size() <= 259, "encoded name longer than 259 characters");
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size();) {
    if (encoded[i] == '-') {
      check(i + 2 < encoded.size(), "escape cut short");
      decoded += static_cast<char>(std::strtol(encoded.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      decoded += encoded[i++];
    }
  }
  const std::string input = name.c_str();
  check(input.compare(0, decoded.size(), decoded) == 0, "encoding does not decode to a prefix of the input");
  check(decoded.size() == input.size() || encoded.size() >= 257, "encoding stopped early");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sync_allocator = SyncAllocator{failing_allocate, failing_reallocate, sync_default_allocator.release};
  load_once(data, size, 0);
  // Run out of memory at one of the allocations of creating and loading the track.
  load_once(data, size, 1 + static_cast<long>(size % 5));
  sync_allocator = sync_default_allocator;
  check_encoding(data, size);
  return 0;
}
