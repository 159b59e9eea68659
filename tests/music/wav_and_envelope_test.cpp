// The WAV the encoder reads, and the envelopes whose jumps would click.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "dsp/envelope.h"
#include "io/wav_file.h"

namespace music {
namespace {

uint32_t le32(const std::vector<char>& b, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

TEST(FloatWav, HeaderDescribesStereoFloatAndDataFollows)
{
    Stereo s(10);
    for (size_t n = 0; n < s.size(); ++n) {
        s.l[n] = static_cast<float>(n);
        s.r[n] = -static_cast<float>(n);
    }
    std::string path = ::testing::TempDir() + "music_wav_test.wav";
    ASSERT_EQ(writeFloatWav(path, s, 3, 12, 44100), "");
    std::ifstream in(path, std::ios::binary);
    std::vector<char> b{std::istreambuf_iterator<char>(in), {}};

    ASSERT_EQ(b.size(), 12u + 26u + 12u + 8u + 12u * 8u);
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(le32(b, 20) & 0xffff, 3u) << "IEEE float";
    EXPECT_EQ(le32(b, 20) >> 16, 2u) << "stereo";
    EXPECT_EQ(le32(b, 24), 44100u);
    EXPECT_EQ(le32(b, 46), 12u) << "fact chunk frame count";
    EXPECT_EQ(le32(b, 54), 96u) << "data bytes";
    float first[2], last[2];
    std::memcpy(first, b.data() + 58, 8);
    std::memcpy(last, b.data() + b.size() - 8, 8);
    EXPECT_EQ(first[0], 3.0f) << "starts at the skipped sample";
    EXPECT_EQ(first[1], -3.0f);
    EXPECT_EQ(last[0], 0.0f) << "past the end of the song is silence";
}

TEST(FloatWav, ReportsAnUnwritablePath)
{
    EXPECT_NE(writeFloatWav("/nonexistent-dir/x.wav", Stereo(4), 0, 4, 44100), "");
}

TEST(Adsr, IsContinuousAtTheGateAndFadesOut)
{
    Adsr env{0.01f, 0.1f, 0.6f, 0.05f};
    for (float gate : {0.005f, 0.02f, 0.5f}) {
        EXPECT_NEAR(env.at(gate - 1e-5f, gate), env.at(gate + 1e-5f, gate), 1e-3f) << "gate " << gate;
        EXPECT_LT(env.at(gate + env.tail(), gate), 1e-4f);
    }
    EXPECT_FLOAT_EQ(env.at(0.0f, 1.0f), 0.0f);
    EXPECT_NEAR(env.at(0.01f, 1.0f), 1.0f, 1e-3f) << "peak at the end of the attack";
    EXPECT_NEAR(env.at(0.9f, 1.0f), 0.6f, 1e-3f) << "settles on the sustain level";
}

} // namespace
} // namespace music
