// The logo pictures and the window icon: colour profile, transparent surround,
// palette form.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <algorithm>
#include <memory>
#include <string>

#include "asset_files.h"

namespace velmorand::asset_test {
namespace {

struct Profile {
    std::unique_ptr<char, void (*)(void*)> bytes{nullptr, stbi_image_free};
    int size = 0;
    const std::uint8_t* at(int offset) const { return reinterpret_cast<const std::uint8_t*>(bytes.get()) + offset; }
    std::string text(int offset, int length) const { return std::string(bytes.get() + offset, length); }
};

// The iCCP chunk: a name, a zero byte, compression method 0 and a zlib stream.
Profile inflate_profile(const PngChunk& chunk) {
    Profile profile;
    const auto name_end = std::find(chunk.data.begin(), chunk.data.end(), 0);
    if (name_end == chunk.data.end() || name_end + 2 > chunk.data.end() || name_end[1] != 0) return profile;
    const std::size_t start = std::size_t(name_end - chunk.data.begin()) + 2;
    const char* stream = reinterpret_cast<const char*>(chunk.data.data() + start);
    profile.bytes.reset(stbi_zlib_decode_malloc_guesssize_headerflag(
        stream, int(chunk.data.size() - start), 4096, &profile.size, 1));
    return profile;
}

TEST(LogoImage, CarriesAnSrgbProfileBeforeItsPixels) {
    const std::vector<PngChunk> chunks = png_chunks(read_file(asset_path("logo.png")));
    const PngChunk* iccp = find_chunk(chunks, "iCCP");
    ASSERT_NE(iccp, nullptr);
    EXPECT_LT(chunk_index(chunks, "iCCP"), chunk_index(chunks, "IDAT"));
    const Profile profile = inflate_profile(*iccp);
    ASSERT_NE(profile.bytes, nullptr);
    ASSERT_GE(profile.size, 132);
    EXPECT_EQ(read_be32(profile.at(0)), std::uint32_t(profile.size)) << "declared size";
    EXPECT_EQ(profile.text(36, 4), "acsp");
    EXPECT_EQ(profile.text(12, 4), "mntr");
    EXPECT_EQ(profile.text(16, 4), "RGB ");
    EXPECT_EQ(profile.text(20, 4), "XYZ ");
    const std::uint32_t tags = read_be32(profile.at(128));
    ASSERT_LE(132 + 12 * tags, std::uint32_t(profile.size));
    std::string signatures;
    for (std::uint32_t i = 0; i < tags; ++i) {
        const std::uint8_t* entry = profile.at(132 + 12 * int(i));
        signatures += std::string(reinterpret_cast<const char*>(entry), 4) + " ";
        EXPECT_LE(std::uint64_t(read_be32(entry + 4)) + read_be32(entry + 8), std::uint64_t(profile.size));
    }
    for (const char* needed : {"desc", "wtpt", "rXYZ", "gXYZ", "bXYZ", "rTRC", "gTRC", "bTRC"})
        EXPECT_NE(signatures.find(needed), std::string::npos) << needed;
    EXPECT_NE(std::string(profile.bytes.get(), profile.size).find("sRGB"), std::string::npos);
}

// The particle field seeds from the logo and the sky samples the banner through
// a transparent border, so neither may be cut off at its edge; both need large
// solid areas to read as shapes.
TEST(LogoImage, LogoAndBannerSitOnATransparentSurround) {
    for (const char* name : {"logo.png", "banner.png"}) {
        SCOPED_TRACE(name);
        const DecodedImage image = decode_asset(name);
        ASSERT_NE(image.pixels, nullptr);
        std::size_t border_opaque = 0, clear = 0, solid = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const std::uint8_t alpha = image.at(x, y)[3];
                const bool border = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
                border_opaque += border && alpha != 0;
                clear += alpha == 0;
                solid += alpha == 255;
            }
        const double pixels = double(image.width) * image.height;
        EXPECT_EQ(border_opaque, 0u);
        EXPECT_GT(clear / pixels, 0.2);
        EXPECT_GT(solid / pixels, 0.25);
    }
}

TEST(WindowIcon, IsAPaletteImageWithClearCornersAndASolidCentre) {
    for (const char* name : {"icon_16.png", "icon_32.png"}) {
        SCOPED_TRACE(name);
        const std::vector<PngChunk> chunks = png_chunks(read_file(asset_path(name)));
        const PngChunk* palette = find_chunk(chunks, "PLTE");
        ASSERT_NE(palette, nullptr);
        EXPECT_LE(palette->data.size(), 256u * 3);
        EXPECT_NE(find_chunk(chunks, "tRNS"), nullptr);
        const DecodedImage image = decode_asset(name);
        ASSERT_NE(image.pixels, nullptr);
        const int last = image.width - 1;
        for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_EQ(image.at(x, y)[3], 0) << x << "," << y;
        EXPECT_EQ(image.at(image.width / 2, image.height / 2)[3], 255);
    }
}

}  // namespace
}  // namespace velmorand::asset_test
