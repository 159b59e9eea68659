#include "mp3/frame_header.h"

namespace music {
namespace {

constexpr int kBitratesV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitratesV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kRatesV1[3] = {44100, 48000, 32000};

size_t headerAndCrc(const FrameHeader& h) { return h.protectedByCrc ? 6 : 4; }

} // namespace

std::optional<FrameHeader> parseFrameHeader(const uint8_t* p, size_t available)
{
    if (available < 4 || p[0] != 0xff || (p[1] & 0xe0) != 0xe0) return std::nullopt;
    int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
    int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    FrameHeader h{};
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.layer = 3;
    h.protectedByCrc = (p[1] & 1) == 0;
    h.bitrateKbps = h.version == 1 ? kBitratesV1[bitrateIndex] : kBitratesV2[bitrateIndex];
    h.sampleRate = kRatesV1[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
    h.padding = (p[2] >> 1) & 1;
    h.mode = p[3] >> 6;
    h.modeExtension = (p[3] >> 4) & 3;
    int samples = h.version == 1 ? 1152 : 576;
    h.length = static_cast<size_t>(samples / 8 * h.bitrateKbps * 1000 / h.sampleRate) + (h.padding ? 1 : 0);
    return h;
}

uint16_t crc16(const uint8_t* data, size_t n, uint16_t crc)
{
    for (size_t i = 0; i < n; ++i) {
        crc ^= static_cast<uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x8005) : static_cast<uint16_t>(crc << 1);
    }
    return crc;
}

size_t sideInfoBytes(const FrameHeader& h)
{
    bool mono = h.mode == 3;
    if (h.version == 1) return mono ? 17 : 32;
    return mono ? 9 : 17;
}

uint16_t computeFrameCrc(const uint8_t* frame, const FrameHeader& h)
{
    uint16_t crc = crc16(frame + 2, 2);
    return crc16(frame + headerAndCrc(h), sideInfoBytes(h), crc);
}

uint16_t storedFrameCrc(const uint8_t* frame) { return static_cast<uint16_t>(frame[4] << 8 | frame[5]); }

int mainDataBegin(const uint8_t* frame, const FrameHeader& h)
{
    const uint8_t* side = frame + headerAndCrc(h);
    if (h.version == 1) return side[0] << 1 | side[1] >> 7;
    return side[0];
}

} // namespace music
