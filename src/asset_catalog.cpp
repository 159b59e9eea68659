#include "src/asset_catalog.h"

#include <array>

#include "embedded/asset_blobs.h"

namespace {

constexpr std::array<std::string_view, kImageAssetCount> kImageLoadOrder = {
    "logo",       "banner",     "lettering",  "credits_00", "credits_01", "credits_02", "credits_03", "credits_04",
    "credits_05", "credits_06", "credits_07", "credits_08", "credits_09", "credits_10", "credits_11", "credits_12",
    "credits_13", "credits_14", "credits_15", "credits_16", "credits_17", "credits_18", "credits_19", "credits_20",
    "credits_21", "credits_22", "credits_23", "credits_24", "credits_25", "credits_26", "blue_noise",
};

}  // namespace

AssetBytes find_asset(std::string_view name) {
  for (const embedded::Blob& blob : embedded::asset_blobs()) {
    if (name == blob.name) return {blob.data, blob.size};
  }
  return {};
}

AssetBytes soundtrack_asset() { return find_asset("soundtrack"); }

std::span<const NamedAsset, kImageAssetCount> images_in_load_order() {
  static const auto images = [] {
    std::array<NamedAsset, kImageAssetCount> list;
    for (std::size_t i = 0; i < list.size(); ++i) list[i] = {kImageLoadOrder[i], find_asset(kImageLoadOrder[i])};
    return list;
  }();
  return images;
}
