// The blue-noise texture: four independent rank textures whose values are
// spread evenly in both value and space.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "asset_files.h"

namespace velmorand::asset_test {
namespace {

constexpr int kSize = 64;

std::vector<double> channel(const DecodedImage& image, int c) {
    std::vector<double> values;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) values.push_back(image.at(x, y)[c]);
    return values;
}

class BlueNoise : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = decode_asset("blue_noise.png");
        ASSERT_NE(image_.pixels, nullptr);
        ASSERT_EQ(image_.width, kSize);
        ASSERT_EQ(image_.height, kSize);
    }
    DecodedImage image_;
};

TEST_F(BlueNoise, EachChannelHoldsEveryValueSixteenTimes) {
    for (int c = 0; c < 4; ++c) {
        std::array<int, 256> histogram{};
        for (double v : channel(image_, c)) ++histogram[int(v)];
        for (int v = 0; v < 256; ++v) EXPECT_EQ(histogram[v], 16) << "channel " << c << " value " << v;
    }
}

TEST_F(BlueNoise, ChannelsAreUncorrelated) {
    std::array<std::vector<double>, 4> ch;
    for (int c = 0; c < 4; ++c) ch[c] = channel(image_, c);
    const double mean = 127.5;
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            double ab = 0, aa = 0, bb = 0;
            for (std::size_t i = 0; i < ch[a].size(); ++i) {
                ab += (ch[a][i] - mean) * (ch[b][i] - mean);
                aa += (ch[a][i] - mean) * (ch[a][i] - mean);
                bb += (ch[b][i] - mean) * (ch[b][i] - mean);
            }
            EXPECT_LT(std::abs(ab / std::sqrt(aa * bb)), 0.1) << "channels " << a << " and " << b;
        }
}

// The darkest 5 % of each channel form an even point set on the torus: no two
// points closer than 2.5 pixels, where white noise would put many side by side.
TEST_F(BlueNoise, SparseThresholdsKeepTheirDistance) {
    for (int c = 0; c < 4; ++c) {
        std::vector<std::array<int, 2>> points;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (image_.at(x, y)[c] < 13) points.push_back({x, y});
        double closest = kSize;
        for (std::size_t i = 0; i < points.size(); ++i)
            for (std::size_t j = i + 1; j < points.size(); ++j) {
                int dx = std::abs(points[i][0] - points[j][0]), dy = std::abs(points[i][1] - points[j][1]);
                dx = std::min(dx, kSize - dx);
                dy = std::min(dy, kSize - dy);
                closest = std::min(closest, std::sqrt(double(dx * dx + dy * dy)));
            }
        EXPECT_GE(closest, 2.5) << "channel " << c;
    }
}

// Means over 4x4 blocks stay close to the middle value: shuffled (white) noise
// spreads them with a deviation of about 18.5, blue noise far less.
TEST_F(BlueNoise, BlockAveragesStayNearTheMiddle) {
    for (int c = 0; c < 4; ++c) {
        double sum_sq = 0;
        int blocks = 0;
        for (int by = 0; by < kSize; by += 4)
            for (int bx = 0; bx < kSize; bx += 4, ++blocks) {
                double mean = 0;
                for (int y = by; y < by + 4; ++y)
                    for (int x = bx; x < bx + 4; ++x) mean += image_.at(x, y)[c] / 16.0;
                sum_sq += (mean - 127.5) * (mean - 127.5);
            }
        EXPECT_LT(std::sqrt(sum_sq / blocks), 11.0) << "channel " << c;
    }
}

}  // namespace
}  // namespace velmorand::asset_test
