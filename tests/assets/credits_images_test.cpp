// The credits images: three pages of white-on-black lettering per image, one in
// each colour channel, under an alpha that never lets the picture through.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "asset_files.h"

namespace velmorand::asset_test {
namespace {

constexpr int kImages = 27;

std::string credits_name(int index) { return "credits_" + std::string(index < 10 ? "0" : "") + std::to_string(index) + ".png"; }

struct ChannelCounts {
    std::size_t set = 0;   // 255: on the letters
    std::size_t edge = 0;  // between: the anti-aliased rim
    std::uint64_t hash = 1469598103934665603ull;
};

std::vector<ChannelCounts> count_channels(const DecodedImage& image) {
    std::vector<ChannelCounts> counts(3);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const std::uint8_t v = image.at(x, y)[c];
                counts[c].set += v == 255;
                counts[c].edge += v != 0 && v != 255;
                counts[c].hash = (counts[c].hash ^ v) * 1099511628211ull;
            }
    return counts;
}

TEST(CreditsImages, EveryPixelIsOpaque) {
    for (int i = 0; i < kImages; ++i) {
        SCOPED_TRACE(credits_name(i));
        const DecodedImage image = decode_asset(credits_name(i));
        ASSERT_NE(image.pixels, nullptr);
        std::size_t not_opaque = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) not_opaque += image.at(x, y)[3] != 255;
        EXPECT_EQ(not_opaque, 0u);
    }
}

TEST(CreditsImages, EachChannelHoldsItsOwnPageOfCrispLettering) {
    std::set<std::uint64_t> distinct_pages;
    for (int i = 0; i < kImages; ++i) {
        const DecodedImage image = decode_asset(credits_name(i));
        ASSERT_NE(image.pixels, nullptr);
        const double pixels = double(image.width) * image.height;
        const std::vector<ChannelCounts> counts = count_channels(image);
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(credits_name(i) + " channel " + "RGB"[c]);
            // A page is lettering on black: some of it set, most of it not.
            EXPECT_GT(counts[c].set / pixels, 0.003);
            EXPECT_LT(counts[c].set / pixels, 0.25);
            // The edge between is a thin rim, not a blur or a grey fill.
            EXPECT_LT(counts[c].edge, counts[c].set);
            distinct_pages.insert(counts[c].hash);
        }
    }
    EXPECT_EQ(distinct_pages.size(), std::size_t(kImages * 3)) << "some page is repeated";
}

}  // namespace
}  // namespace velmorand::asset_test
