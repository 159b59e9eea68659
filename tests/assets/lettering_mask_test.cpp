// The ground lettering: a two-entry palette mask whose opaque part the scene
// reads by alpha through a wrapping sampler.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "asset_files.h"

namespace velmorand::asset_test {
namespace {

const char* const kName = "lettering.png";

TEST(LetteringMask, PaletteIsTransparentBlackThenOpaqueGrey) {
    const std::vector<PngChunk> chunks = png_chunks(read_file(asset_path(kName)));
    const PngChunk* palette = find_chunk(chunks, "PLTE");
    const PngChunk* transparency = find_chunk(chunks, "tRNS");
    ASSERT_NE(palette, nullptr);
    ASSERT_NE(transparency, nullptr);
    const std::vector<std::uint8_t> entries = {0, 0, 0, 239, 239, 239};
    EXPECT_EQ(palette->data, entries);
    // One transparency entry: index 0 is clear, every later index stays opaque.
    EXPECT_EQ(transparency->data, std::vector<std::uint8_t>{0});
    EXPECT_LT(chunk_index(chunks, "PLTE"), chunk_index(chunks, "tRNS"));
    EXPECT_LT(chunk_index(chunks, "tRNS"), chunk_index(chunks, "IDAT"));
}

TEST(LetteringMask, DecodesToClearBlackOrOpaqueGreyOnly) {
    const DecodedImage image = decode_asset(kName);
    ASSERT_NE(image.pixels, nullptr);
    static const std::uint8_t clear[4] = {0, 0, 0, 0};
    static const std::uint8_t grey[4] = {239, 239, 239, 255};
    std::size_t other = 0, opaque = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            const bool is_grey = std::memcmp(p, grey, 4) == 0;
            opaque += is_grey;
            other += !is_grey && std::memcmp(p, clear, 4) != 0;
        }
    EXPECT_EQ(other, 0u);
    // Mostly ground with a line of letters on it, as the scene expects.
    const double share = double(opaque) / (double(image.width) * image.height);
    EXPECT_GT(share, 0.15);
    EXPECT_LT(share, 0.45);
}

TEST(LetteringMask, StaysWithinTheRowsTheGroundStripShows) {
    const DecodedImage image = decode_asset(kName);
    ASSERT_NE(image.pixels, nullptr);
    // The scene samples v = 400 x / 1080 + 0.53 for ground points with |x| < 1.
    const int first_row = int(std::ceil((0.53 - 400.0 / 1080.0) * image.height));
    const int last_row = int(std::floor((0.53 + 400.0 / 1080.0) * image.height));
    std::size_t outside = 0, inside = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const bool opaque = image.at(x, y)[3] != 0;
            (y < first_row || y > last_row ? outside : inside) += opaque;
        }
    EXPECT_EQ(outside, 0u);
    EXPECT_GT(inside, 0u);
}

TEST(LetteringMask, WrapsAroundWithoutASeam) {
    const DecodedImage image = decode_asset(kName);
    ASSERT_NE(image.pixels, nullptr);
    for (int y = 0; y < image.height; ++y) {
        ASSERT_EQ(image.at(0, y)[3], image.at(image.width - 1, y)[3]) << "row " << y;
    }
}

}  // namespace
}  // namespace velmorand::asset_test
