// Track registry, name encoding and track files.
#include "sync/device.h"

#include <bit>
#include <cstdarg>
#include <cstring>
#include <filesystem>

#include "sync/assertion.h"
#include "sync/memory.h"

// Track files are little-endian and are read straight into int32 and float32
// fields; that is only right on a little-endian host.
static_assert(std::endian::native == std::endian::little, "track files are read on little-endian hosts only");

namespace {

constexpr const char* kSource = "sync/device";

// Results of encode_path_component and track_file_name, valid until the next call.
char g_encoded[kTrackPathBufferSize];
char g_file_name[kTrackPathBufferSize];

constexpr std::size_t kMaxLength = kTrackPathBufferSize - 1;  // 259 characters

// Key arrays start at this many keys and double up to the file's count as keys
// arrive, so a count far larger than the file never makes a huge allocation.
// Every track of the program (at most 371 keys) gets its whole array at once.
constexpr std::int32_t kInitialKeyCapacity = 1024;

bool is_plain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

void set_reason(char* reason, std::size_t reason_size, const char* format, ...) {
  if (reason == nullptr || reason_size == 0) return;
  va_list args;
  va_start(args, format);
  std::vsnprintf(reason, reason_size, format, args);
  va_end(args);
}

// Appends at most as much of `text` as keeps `buffer` within 259 characters.
void append_within(char* buffer, std::size_t& length, const char* text) {
  while (*text != '\0' && length < kMaxLength) buffer[length++] = *text++;
  buffer[length] = '\0';
}

// Fills a new, empty track from its file, when there is one.
void load_track_file(TrackRegistry* d, Track* track) {
  const char* path = track_file_name(d->base, track->name);
  if (const char* why = non_track_file_reason(path)) {
    std::fprintf(stderr, "sync: track file \"%s\" skipped: it %s\n", path, why);
    return;
  }
  std::FILE* file = d->open(path, "rb");
  if (file == nullptr) return;  // the ordinary case: no file, the track stays empty
  char reason[192];
  TrackKey* keys = nullptr;
  std::int32_t count = 0;
  const bool ok = read_track_keys(d->read, file, &keys, &count, reason, sizeof reason);
  d->close(file);
  if (!ok) {
    std::fprintf(stderr, "sync: track file \"%s\" rejected: %s\n", path, reason);
    return;
  }
  track->keys = keys;
  track->key_count = count;
}

}  // namespace

const char* encode_path_component(const char* text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::size_t pos = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (is_plain(c)) {
      if (pos >= kMaxLength) break;  // written stays within 259
      g_encoded[pos++] = static_cast<char>(c);
    } else {
      if (pos >= kMaxLength - 2) break;  // fewer than 257 written, or no escape at all
      g_encoded[pos++] = '-';
      g_encoded[pos++] = kHex[c >> 4];
      g_encoded[pos++] = kHex[c & 0xF];
    }
  }
  g_encoded[pos] = '\0';
  return g_encoded;
}

const char* track_file_name(const char* base, const char* name) {
  std::size_t length = 0;
  g_file_name[0] = '\0';
  append_within(g_file_name, length, base);
  append_within(g_file_name, length, "_");
  append_within(g_file_name, length, encode_path_component(name));
  append_within(g_file_name, length, ".track");
  return g_file_name;
}

const char* non_track_file_reason(const char* path) {
  std::error_code error;
  const auto type = std::filesystem::status(path, error).type();
  if (error || type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::regular)
    return nullptr;
  if (type == std::filesystem::file_type::directory) return "is a folder";
  return "is not a regular file (a FIFO, device or socket)";
}

TrackRegistry* registry_create(const char* base) {
  auto* d = static_cast<TrackRegistry*>(sync_malloc(sizeof(TrackRegistry)));
  if (d == nullptr) return nullptr;
  const char* encoded = encode_path_component(base);
  const std::size_t size = std::strlen(encoded) + 1;
  d->base = static_cast<char*>(sync_malloc(size));
  if (d->base == nullptr) {
    sync_free(d);
    return nullptr;
  }
  std::memcpy(d->base, encoded, size);
  d->tracks = nullptr;
  d->track_count = 0;
  d->open = std::fopen;
  d->read = std::fread;
  d->close = std::fclose;
  return d;
}

void registry_destroy(TrackRegistry* registry) {
  if (registry == nullptr) return;
  for (std::int32_t i = 0; i < registry->track_count; ++i) {
    Track* track = registry->tracks[i];
    sync_free(track->name);
    sync_free(track->keys);
    sync_free(track);
  }
  sync_free(registry->tracks);
  sync_free(registry->base);
  sync_free(registry);
}

std::int32_t find_track(const TrackRegistry* d, const char* name) {
  for (std::int32_t i = 0; i < d->track_count; ++i) {
    if (std::strcmp(name, d->tracks[i]->name) == 0) return i;
  }
  return -1;
}

namespace sync_detail {

std::int32_t create_track(TrackRegistry* d, const char* name) {
  SYNC_ASSERT(find_track(d, name) < 0, kSource);

  auto* track = static_cast<Track*>(sync_malloc(sizeof(Track)));
  if (track == nullptr) {
    std::fprintf(stderr, "sync: out of memory creating the track record of \"%s\"\n", name);
    return -1;
  }
  const std::size_t size = std::strlen(name) + 1;
  track->name = static_cast<char*>(sync_malloc(size));
  if (track->name == nullptr) {
    std::fprintf(stderr, "sync: out of memory copying the track name \"%s\"\n", name);
    sync_free(track);
    return -1;
  }
  std::memcpy(track->name, name, size);
  track->keys = nullptr;
  track->key_count = 0;

  // Grow `tracks` by exactly one slot; on failure the old array stays valid.
  auto* grown = static_cast<Track**>(
      sync_realloc(d->tracks, (static_cast<std::size_t>(d->track_count) + 1) * sizeof(Track*)));
  if (grown == nullptr) {
    std::fprintf(stderr, "sync: out of memory growing the track list for \"%s\"\n", name);
    sync_free(track->name);
    sync_free(track);
    return -1;
  }
  d->tracks = grown;
  const std::int32_t position = d->track_count;
  d->tracks[position] = track;
  d->track_count = position + 1;

  // From here on the track belongs to the registry, whatever the loading does.
  load_track_file(d, track);
  return position;
}

}  // namespace sync_detail

Track* registry_get_track(TrackRegistry* d, const char* name) {
  const std::int32_t found = find_track(d, name);
  if (found >= 0) return d->tracks[found];
  const std::int32_t created = sync_detail::create_track(d, name);
  if (created < 0) return nullptr;
  return d->tracks[created];
}

namespace {

// Reads and checks key k (9 bytes: row, value, code) into *key. `previous` is
// the key before it, or null for the first.
bool read_key(TrackFileRead read, std::FILE* file, std::int32_t k, std::int32_t count, const TrackKey* previous,
              TrackKey* key, char* reason, std::size_t reason_size) {
  std::int32_t row = 0;
  float value = 0.0f;
  std::int8_t code = 0;
  if (read(&row, 4, 1, file) != 1 || read(&value, 4, 1, file) != 1 || read(&code, 1, 1, file) != 1) {
    set_reason(reason, reason_size,
               "key count %d is larger than the file holds: it ends inside key %d "
               "(%d keys need 4 + 9 x %d = %lld bytes)",
               count, k, count, count, 4 + 9 * static_cast<long long>(count));
    return false;
  }
  if (code < 0 || code > 3) {
    set_reason(reason, reason_size, "key %d has interpolation code %d, outside 0-3", k, code);
    return false;
  }
  if (previous != nullptr && row <= previous->row) {
    set_reason(reason, reason_size, "rows are not strictly ascending: key %d has row %d after row %d of key %d", k,
               row, previous->row, k - 1);
    return false;
  }
  *key = TrackKey{row, value, static_cast<Interpolation>(static_cast<std::int32_t>(code))};
  return true;
}

// Makes room for key k in an array that holds `capacity` keys of `count`.
bool reserve_key(TrackKey** buffer, std::int32_t* capacity, std::int32_t k, std::int32_t count) {
  if (k < *capacity) return true;
  const std::int32_t next = *capacity > count / 2 ? count : *capacity * 2;
  auto* grown = static_cast<TrackKey*>(sync_realloc(*buffer, static_cast<std::size_t>(next) * sizeof(TrackKey)));
  if (grown == nullptr) return false;
  *buffer = grown;
  *capacity = next;
  return true;
}

}  // namespace

bool read_track_keys(TrackFileRead read, std::FILE* file, TrackKey** keys, std::int32_t* key_count, char* reason,
                     std::size_t reason_size) {
  *keys = nullptr;
  *key_count = 0;

  std::int32_t count = 0;
  if (read(&count, 4, 1, file) != 1) {
    set_reason(reason, reason_size, "shorter than 4 bytes, so it holds no key count");
    return false;
  }
  if (count < 0) {
    set_reason(reason, reason_size, "negative key count %d", count);
    return false;
  }
  if (count == 0) return true;

  std::int32_t capacity = count < kInitialKeyCapacity ? count : kInitialKeyCapacity;
  auto* buffer = static_cast<TrackKey*>(sync_malloc(static_cast<std::size_t>(capacity) * sizeof(TrackKey)));
  for (std::int32_t k = 0; k < count; ++k) {
    if (buffer == nullptr || !reserve_key(&buffer, &capacity, k, count)) {
      sync_free(buffer);
      set_reason(reason, reason_size, "out of memory for %d keys", count);
      return false;
    }
    if (!read_key(read, file, k, count, k > 0 ? &buffer[k - 1] : nullptr, &buffer[k], reason, reason_size)) {
      sync_free(buffer);
      return false;
    }
  }
  *keys = buffer;
  *key_count = count;
  return true;
}
