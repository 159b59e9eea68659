// The MP3 stream linked into the intro, checked frame by frame.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "mp3/stream_scan.h"

namespace {

std::vector<uint8_t> readSoundtrack()
{
    std::ifstream in(VELMORAND_SOURCE_DIR "/assets/soundtrack.mp3", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SoundtrackStream : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bytes_ = new std::vector<uint8_t>(readSoundtrack());
        scan_ = new music::StreamScan(music::scanStream(*bytes_));
    }
    static void TearDownTestSuite()
    {
        delete scan_;
        delete bytes_;
    }
    static std::vector<uint8_t>* bytes_;
    static music::StreamScan* scan_;
};

std::vector<uint8_t>* SoundtrackStream::bytes_ = nullptr;
music::StreamScan* SoundtrackStream::scan_ = nullptr;

TEST_F(SoundtrackStream, IsExactlyItsFramesWithNoTagAtEitherEnd)
{
    ASSERT_FALSE(bytes_->empty()) << "assets/soundtrack.mp3 is missing";
    EXPECT_EQ(scan_->error, "");
    EXPECT_EQ(scan_->frameBytes, bytes_->size());
    EXPECT_FALSE(scan_->id3v2);
    EXPECT_FALSE(scan_->id3v1);
    EXPECT_FALSE(scan_->apeTag);
    EXPECT_FALSE(scan_->infoFrame);
    EXPECT_NE(std::memcmp(bytes_->data(), "ID3", 3), 0);
}

TEST_F(SoundtrackStream, Holds5208FramesOf1152SamplesForThePictureClock)
{
    ASSERT_EQ(scan_->frames.size(), 5208u);
    EXPECT_EQ(scan_->frames.size() * 1152, 5999616u);
}

TEST_F(SoundtrackStream, EveryFrameIsMpeg1Layer3At44100Hz256kbitWithCrc)
{
    size_t index = 0;
    for (const music::FrameHeader& h : scan_->frames) {
        SCOPED_TRACE("frame " + std::to_string(index++));
        ASSERT_EQ(h.version, 1);
        ASSERT_EQ(h.layer, 3);
        ASSERT_EQ(h.sampleRate, 44100);
        ASSERT_EQ(h.bitrateKbps, 256);
        ASSERT_TRUE(h.protectedByCrc);
        ASSERT_TRUE(h.length == 835 || h.length == 836);
    }
    EXPECT_EQ(scan_->badCrcFrames, 0u);
}

TEST_F(SoundtrackStream, EveryFrameIsJointStereoWithoutMidSideOrIntensity)
{
    for (const music::FrameHeader& h : scan_->frames) {
        ASSERT_EQ(h.mode, 1);
        ASSERT_EQ(h.modeExtension, 0);
    }
}

TEST_F(SoundtrackStream, FirstFrameDecodesWithoutEarlierFrames)
{
    EXPECT_EQ(scan_->firstMainDataBegin, 0);
}

} // namespace
