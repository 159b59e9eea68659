#pragma once
// The files linked into the executable, reachable by name. The bytes stay
// valid for the life of the process and are passed on to decoders as they are.
#include <cstddef>
#include <span>
#include <string_view>

struct AssetBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

struct NamedAsset {
  std::string_view name;
  AssetBytes bytes;
};

inline constexpr std::size_t kImageAssetCount = 31;
inline constexpr std::size_t kCreditsImageCount = 27;

// Names: "blue_noise", "credits_00" to "credits_26", "logo", "banner",
// "lettering", "soundtrack", "icon_16", "icon_32".
// Returns {nullptr, 0} for a name that is not linked.
AssetBytes find_asset(std::string_view name);

AssetBytes soundtrack_asset();

// The images in the order their textures are created: logo, banner,
// lettering mask, credits 0 to 26, blue noise.
std::span<const NamedAsset, kImageAssetCount> images_in_load_order();
