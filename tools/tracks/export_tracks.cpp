#include "tools/tracks/export_tracks.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "sync/choreography.h"
#include "sync/device.h"
#include "tools/tracks/file_io.h"
#include "tools/tracks/tracks_tool.h"

namespace {

void put_u32(std::vector<unsigned char>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

}  // namespace

std::vector<unsigned char> track_file_bytes(const TrackKey* keys, int key_count) {
  std::vector<unsigned char> bytes;
  bytes.reserve(4 + 9 * static_cast<std::size_t>(key_count));
  put_u32(bytes, static_cast<std::uint32_t>(key_count));
  for (int k = 0; k < key_count; ++k) {
    std::uint32_t value_bits = 0;
    std::memcpy(&value_bits, &keys[k].value, 4);
    put_u32(bytes, static_cast<std::uint32_t>(keys[k].row));
    put_u32(bytes, value_bits);
    bytes.push_back(static_cast<unsigned char>(static_cast<std::int8_t>(keys[k].interpolation)));
  }
  return bytes;
}

int export_tracks(const std::string& dir, std::FILE* out, std::FILE* err) {
  if (!make_folder(dir, "export", err)) return kToolFailed;
  // The registry's base, encoded exactly as registry_create("sync/") stores it.
  const std::string base = encode_path_component("sync/");
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const CompiledTrack& compiled = compiled_tracks[i];
    std::vector<TrackKey> keys(static_cast<std::size_t>(compiled.key_count));
    for (int k = 0; k < compiled.key_count; ++k) {
      keys[k] = TrackKey{compiled.rows[k], compiled.values[k], static_cast<Interpolation>(compiled.codes[k])};
    }
    const std::string name = track_file_name(base.c_str(), track_names[i]);
    const std::string path = (std::filesystem::path(dir) / name).string();
    const std::vector<unsigned char> bytes = track_file_bytes(keys.data(), compiled.key_count);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!write_whole_file(path, view, err)) return kToolFailed;
    std::fprintf(out, "%s %d keys\n", path.c_str(), compiled.key_count);
  }
  return kToolOk;
}
