#include "tools/tracks/export_tracks.h"

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "sync/choreography.h"
#include "sync/device.h"
#include "tools/common/output_file.h"
#include "tools/tracks/tracks_tool.h"

namespace {

void put_u32(std::vector<unsigned char>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

bool write_file(const std::string& path, const std::vector<unsigned char>& bytes, std::FILE* err) {
  std::string error;
  if (write_whole_file(path, bytes, &error)) return true;
  std::fprintf(err, "velmorand-tracks: %s\n", error.c_str());
  return false;
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
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error || !std::filesystem::is_directory(dir, error)) {
    std::fprintf(err, "velmorand-tracks: cannot use %s as the export folder: %s\n", dir.c_str(),
                 error ? error.message().c_str() : "not a folder");
    return kToolFailed;
  }
  // The registry's base, encoded exactly as registry_create("sync/") stores it.
  const std::string base = encode_path_component("sync/");
  for (int i = 0; i < kSyncTrackCount; ++i) {
    const CompiledTrack& compiled = compiled_tracks[i];
    std::vector<TrackKey> keys(static_cast<std::size_t>(compiled.key_count));
    for (int k = 0; k < compiled.key_count; ++k) {
      keys[k] = TrackKey{compiled.rows[k], compiled.values[k],
                         static_cast<Interpolation>(compiled.codes[k])};
    }
    const std::string name = track_file_name(base.c_str(), track_names[i]);
    const std::string path = (std::filesystem::path(dir) / name).string();
    if (!write_file(path, track_file_bytes(keys.data(), compiled.key_count), err)) return kToolFailed;
    std::fprintf(out, "%s %d keys\n", path.c_str(), compiled.key_count);
  }
  return kToolOk;
}
