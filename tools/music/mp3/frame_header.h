#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace music {

// The fields of an MPEG audio frame header that the stream checks need.
struct FrameHeader {
    int version;        // 1 for MPEG-1, 2 for MPEG-2, 25 for MPEG-2.5
    int layer;          // 1, 2 or 3
    bool protectedByCrc;
    int bitrateKbps;
    int sampleRate;
    bool padding;
    int mode;           // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int modeExtension;
    size_t length;      // bytes, header included
};

// Empty unless `p` starts with a valid MPEG-1/2/2.5 Layer III header (free
// format and reserved values are rejected: no stream of ours uses them).
std::optional<FrameHeader> parseFrameHeader(const uint8_t* p, size_t available);

// CRC-16 with polynomial 0x8005, MSB first, as MPEG audio frames carry it.
uint16_t crc16(const uint8_t* data, size_t n, uint16_t crc = 0xffff);

size_t sideInfoBytes(const FrameHeader& h);

// The CRC a frame should carry: over header bytes 2-3 and the side info.
uint16_t computeFrameCrc(const uint8_t* frame, const FrameHeader& h);
uint16_t storedFrameCrc(const uint8_t* frame);

// The first field of the side info: how far back in earlier frames this
// frame's audio data begins (0 means it decodes on its own).
int mainDataBegin(const uint8_t* frame, const FrameHeader& h);

} // namespace music
