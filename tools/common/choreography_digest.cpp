#include "tools/common/choreography_digest.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "sync/choreography.h"
#include "sync/track.h"

namespace {

// 64-bit FNV-1a: enough to tell edits apart, not a defence against forgery.
struct Fnv1a {
  std::uint64_t hash = 14695981039346656037ull;
  void add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  }
  void add_int(std::int32_t v) { add(&v, sizeof v); }
};

}  // namespace

std::string choreography_digest() {
  Fnv1a fnv;
  for (const Track* track : track_table) {
    fnv.add_int(track->key_count);
    for (std::int32_t k = 0; k < track->key_count; ++k) {
      std::uint32_t bits;
      std::memcpy(&bits, &track->keys[k].value, sizeof bits);
      fnv.add_int(track->keys[k].row);
      fnv.add(&bits, sizeof bits);
      fnv.add_int(static_cast<std::int32_t>(track->keys[k].interpolation));
    }
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(fnv.hash));
  return text;
}
