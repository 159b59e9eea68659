#include "src/asset_catalog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "embedded/asset_blobs.h"
#include "stream_files.h"

namespace {

std::string two_digits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

std::vector<std::string> credits_names() {
  std::vector<std::string> names;
  for (int i = 0; i < 27; ++i) names.push_back("credits_" + two_digits(i));
  return names;
}

std::string file_of(const std::string& name) {
  return std::string(VELMORAND_SOURCE_DIR) + "/assets/" + name + (name == "soundtrack" ? ".mp3" : ".png");
}

std::uintptr_t address(const unsigned char* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(AssetCatalog, LinksTheImagesThenTheSoundtrackInLayoutOrder) {
  std::vector<std::string> expected = {"blue_noise"};
  for (const std::string& name : credits_names()) expected.push_back(name);
  for (const char* name : {"logo", "banner", "lettering", "soundtrack", "icon_16", "icon_32"})
    expected.push_back(name);

  std::vector<std::string> linked;
  for (const embedded::Blob& blob : embedded::asset_blobs()) linked.push_back(blob.name);
  EXPECT_EQ(linked, expected);
}

TEST(AssetCatalog, BlobsLieBackToBackOnEightByteBoundaries) {
  const auto blobs = embedded::asset_blobs();
  for (std::size_t i = 0; i < blobs.size(); ++i) {
    EXPECT_EQ(address(blobs[i].data) % 8, 0u) << blobs[i].name;
    if (i == 0) continue;
    const std::uintptr_t previous_end = address(blobs[i - 1].data) + blobs[i - 1].size;
    EXPECT_EQ(address(blobs[i].data), (previous_end + 7) / 8 * 8) << blobs[i].name;
  }
}

TEST(AssetCatalog, EveryBlobHoldsExactlyItsFile) {
  for (const embedded::Blob& blob : embedded::asset_blobs()) {
    const auto file = read_bytes(file_of(blob.name));
    ASSERT_FALSE(file.empty()) << file_of(blob.name);
    ASSERT_EQ(blob.size, file.size()) << blob.name;
    EXPECT_EQ(std::memcmp(blob.data, file.data(), file.size()), 0) << blob.name;
  }
}

TEST(AssetCatalog, ImagesComeInTextureCreationOrder) {
  std::vector<std::string> expected = {"logo", "banner", "lettering"};
  for (const std::string& name : credits_names()) expected.push_back(name);
  expected.push_back("blue_noise");

  const auto images = images_in_load_order();
  ASSERT_EQ(images.size(), expected.size());
  const unsigned char png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  for (std::size_t i = 0; i < images.size(); ++i) {
    EXPECT_EQ(images[i].name, expected[i]);
    const AssetBytes found = find_asset(expected[i]);
    EXPECT_EQ(images[i].bytes.data, found.data);
    EXPECT_EQ(images[i].bytes.size, found.size);
    ASSERT_GE(found.size, sizeof png_signature) << expected[i];
    EXPECT_EQ(std::memcmp(found.data, png_signature, sizeof png_signature), 0) << expected[i];
  }
}

TEST(AssetCatalog, LooksUpByExactName) {
  const AssetBytes song = soundtrack_asset();
  ASSERT_NE(song.data, nullptr);
  EXPECT_EQ(song.data, find_asset("soundtrack").data);
  // An MPEG frame header's sync bits, no tag in front.
  EXPECT_EQ(song.data[0], 0xff);
  EXPECT_EQ(song.data[1] & 0xe0, 0xe0);
  for (const char* unknown : {"", "soundtrack.mp3", "Logo", "credits_27", "credits_0"}) {
    const AssetBytes none = find_asset(unknown);
    EXPECT_EQ(none.data, nullptr) << unknown;
    EXPECT_EQ(none.size, 0u) << unknown;
  }
}

}  // namespace
