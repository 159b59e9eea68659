// Every image decodes through the same call the runtime uses, at the size the
// textures are created with, and is a plain 8-bit PNG with intact chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asset_files.h"

namespace velmorand::asset_test {
namespace {

struct ExpectedImage {
    std::string name;
    int width;
    int height;
    int colour_type;  // PNG colour type: 6 RGBA, 3 palette
};

std::vector<ExpectedImage> expected_images() {
    std::vector<ExpectedImage> images = {{"blue_noise.png", 64, 64, 6},   {"logo.png", 1305, 567, 6},
                                         {"banner.png", 1920, 473, 6},    {"lettering.png", 8192, 701, 3},
                                         {"icon_16.png", 16, 16, 3},      {"icon_32.png", 32, 32, 3}};
    for (int side : {48, 64, 128, 256})  // the desktop menu's icons
        images.push_back({"icon_" + std::to_string(side) + ".png", side, side, 6});
    for (int i = 0; i < 27; ++i) {
        const std::string index = (i < 10 ? "0" : "") + std::to_string(i);
        images.push_back({"credits_" + index + ".png", 1675, 941, 6});
    }
    return images;
}

TEST(AssetImages, EveryImageDecodesToItsSizeWithFourChannels) {
    for (const ExpectedImage& expected : expected_images()) {
        SCOPED_TRACE(expected.name);
        const DecodedImage image = decode_asset(expected.name);
        ASSERT_NE(image.pixels, nullptr);
        EXPECT_EQ(image.width, expected.width);
        EXPECT_EQ(image.height, expected.height);
        EXPECT_EQ(image.channels_in_file, 4);
    }
}

TEST(AssetImages, EveryFileIsAnEightBitNonInterlacedPngWithIntactChunks) {
    for (const ExpectedImage& expected : expected_images()) {
        SCOPED_TRACE(expected.name);
        const std::vector<PngChunk> chunks = png_chunks(read_file(asset_path(expected.name)));
        ASSERT_FALSE(chunks.empty());
        ASSERT_EQ(chunks.front().type, "IHDR");
        ASSERT_EQ(chunks.front().data.size(), 13u);
        const std::vector<std::uint8_t>& header = chunks.front().data;
        EXPECT_EQ(header[8], 8) << "bit depth";
        EXPECT_EQ(header[9], expected.colour_type);
        EXPECT_EQ(header[12], 0) << "interlaced";
        EXPECT_EQ(chunks.back().type, "IEND");
        for (const PngChunk& chunk : chunks) EXPECT_TRUE(chunk.crc_ok) << chunk.type;
    }
}

}  // namespace
}  // namespace velmorand::asset_test
