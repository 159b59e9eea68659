// Frame headers, CRCs and the joint-stereo relabelling on hand-made frames.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mp3/frame_header.h"
#include "mp3/joint_stereo.h"
#include "mp3/stream_scan.h"

namespace {

// A 256 kbit/s 44.1 kHz MPEG-1 Layer III frame with CRC and side info filled
// with a recognisable pattern; `mode` and `ext` go into the fourth byte.
std::vector<uint8_t> makeFrame(int mode, int ext, bool padding = false)
{
    std::vector<uint8_t> f(835 + (padding ? 1 : 0), 0);
    f[0] = 0xff;
    f[1] = 0xfa; // MPEG-1, Layer III, protected
    f[2] = static_cast<uint8_t>(0xd0 | (padding ? 2 : 0));
    f[3] = static_cast<uint8_t>(mode << 6 | ext << 4 | 0x04);
    for (size_t i = 6; i < f.size(); ++i) f[i] = static_cast<uint8_t>(i * 37 + 11);
    music::FrameHeader h = *music::parseFrameHeader(f.data(), f.size());
    uint16_t crc = music::computeFrameCrc(f.data(), h);
    f[4] = static_cast<uint8_t>(crc >> 8);
    f[5] = static_cast<uint8_t>(crc & 0xff);
    return f;
}

TEST(Crc16, MatchesTheCatalogueCheckValue)
{
    // CRC-16 with polynomial 0x8005, initial 0xffff, no reflection: 0xaee7.
    const char* check = "123456789";
    EXPECT_EQ(music::crc16(reinterpret_cast<const uint8_t*>(check), std::strlen(check)), 0xaee7);
}

TEST(FrameHeader, ReadsTheFieldsOfA256kbitFrame)
{
    std::vector<uint8_t> f = makeFrame(1, 2, true);
    auto h = music::parseFrameHeader(f.data(), f.size());
    ASSERT_TRUE(h);
    EXPECT_EQ(h->version, 1);
    EXPECT_EQ(h->bitrateKbps, 256);
    EXPECT_EQ(h->sampleRate, 44100);
    EXPECT_TRUE(h->protectedByCrc);
    EXPECT_EQ(h->mode, 1);
    EXPECT_EQ(h->modeExtension, 2);
    EXPECT_EQ(h->length, 836u);
    EXPECT_EQ(music::mainDataBegin(f.data(), *h), (f[6] << 1) | (f[7] >> 7));
}

TEST(FrameHeader, RejectsWhatIsNotALayer3Header)
{
    std::vector<uint8_t> f = makeFrame(0, 0);
    EXPECT_FALSE(music::parseFrameHeader(f.data(), 3)) << "too short";
    f[2] = 0xf0; // bitrate index 15 is forbidden
    EXPECT_FALSE(music::parseFrameHeader(f.data(), f.size()));
    f = makeFrame(0, 0);
    f[1] = 0xfc; // Layer II
    EXPECT_FALSE(music::parseFrameHeader(f.data(), f.size()));
    f = makeFrame(0, 0);
    f[0] = 0x49; // "I" of an ID3 tag
    EXPECT_FALSE(music::parseFrameHeader(f.data(), f.size()));
}

TEST(StreamScan, FindsTagsAndDamagedFrames)
{
    std::vector<uint8_t> s = makeFrame(0, 0);
    std::vector<uint8_t> second = makeFrame(0, 0, true);
    second[20] ^= 0x40; // side info changed after the CRC was written
    s.insert(s.end(), second.begin(), second.end());
    std::vector<uint8_t> tag(128, 0);
    std::memcpy(tag.data(), "TAG", 3);
    s.insert(s.end(), tag.begin(), tag.end());

    music::StreamScan scan = music::scanStream(s);
    EXPECT_EQ(scan.frames.size(), 2u);
    EXPECT_EQ(scan.badCrcFrames, 1u);
    EXPECT_TRUE(scan.id3v1);
    EXPECT_EQ(scan.frameBytes, 835u + 836u);

    std::vector<uint8_t> id3 = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 2, 0, 0};
    id3.insert(id3.end(), s.begin(), s.begin() + 835);
    scan = music::scanStream(id3);
    EXPECT_TRUE(scan.id3v2);
    EXPECT_EQ(scan.frames.size(), 1u);
}

TEST(StreamScan, SeesAnInfoTagOnlyWhereEncodersPutIt)
{
    std::vector<uint8_t> f = makeFrame(1, 0);
    std::memcpy(f.data() + 400, "Info", 4); // fill bits may say anything
    EXPECT_FALSE(music::scanStream(f).infoFrame);
    std::memcpy(f.data() + 6 + 32, "Info", 4);
    EXPECT_TRUE(music::scanStream(f).infoFrame);
}

TEST(StreamScan, ReportsTrailingGarbage)
{
    std::vector<uint8_t> s = makeFrame(0, 0);
    s.push_back(0x12);
    s.push_back(0x34);
    EXPECT_NE(music::scanStream(s).error, "");
}

TEST(JointStereo, RelabelsLeftRightFramesAndRenewsTheirCrc)
{
    std::vector<uint8_t> s = makeFrame(0, 0);
    std::vector<uint8_t> second = makeFrame(1, 0, true);
    s.insert(s.end(), second.begin(), second.end());
    std::vector<uint8_t> before = s;

    ASSERT_EQ(music::markJointStereo(s), "");
    music::StreamScan scan = music::scanStream(s);
    ASSERT_EQ(scan.frames.size(), 2u);
    for (const music::FrameHeader& h : scan.frames) {
        EXPECT_EQ(h.mode, 1);
        EXPECT_EQ(h.modeExtension, 0);
    }
    EXPECT_EQ(scan.badCrcFrames, 0u);
    EXPECT_NE(s[4] << 8 | s[5], before[4] << 8 | before[5]) << "the first frame's CRC must change with its mode";
    EXPECT_EQ(s[3] & 0x0f, before[3] & 0x0f) << "copyright, original and emphasis bits are kept";
    EXPECT_TRUE(std::equal(s.begin() + 6, s.begin() + 835, before.begin() + 6)) << "audio data untouched";
}

TEST(JointStereo, RefusesFramesThatWouldSoundDifferent)
{
    std::vector<uint8_t> s = makeFrame(1, 2); // mid/side coded
    std::vector<uint8_t> before = s;
    EXPECT_NE(music::markJointStereo(s), "");
    EXPECT_EQ(s, before);

    std::vector<uint8_t> mono = makeFrame(3, 0);
    EXPECT_NE(music::markJointStereo(mono), "");

    std::vector<uint8_t> cut = makeFrame(0, 0);
    cut.resize(500);
    EXPECT_NE(music::markJointStereo(cut), "");

    std::vector<uint8_t> none;
    EXPECT_NE(music::markJointStereo(none), "");
}

} // namespace
