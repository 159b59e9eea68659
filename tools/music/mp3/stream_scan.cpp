#include "mp3/stream_scan.h"

#include <algorithm>
#include <cstring>

namespace music {
namespace {

bool contains(const uint8_t* begin, size_t n, const char* what)
{
    size_t len = std::strlen(what);
    return std::search(begin, begin + n, what, what + len) != begin + n;
}

bool tagAt(const uint8_t* frame, const FrameHeader& h, size_t offset, const char* tag)
{
    return offset + 4 <= h.length && std::memcmp(frame + offset, tag, 4) == 0;
}

// Encoders put their summary frame's tag right after the side info (Xing,
// Info) or 32 bytes after the header (VBRI). Only there does it count: LAME
// also writes its name into the fill bits of ordinary frames.
bool hasInfoTag(const uint8_t* frame, const FrameHeader& h)
{
    size_t afterSide = (h.protectedByCrc ? 6 : 4) + sideInfoBytes(h);
    return tagAt(frame, h, afterSide, "Xing") || tagAt(frame, h, afterSide, "Info") || tagAt(frame, h, 36, "VBRI");
}

void checkTail(const std::vector<uint8_t>& bytes, size_t pos, StreamScan& scan)
{
    size_t rest = bytes.size() - pos;
    if (rest == 0) return;
    const uint8_t* tail = bytes.data() + pos;
    scan.apeTag = contains(tail, rest, "APETAGEX");
    scan.id3v1 = rest >= 128 && std::memcmp(bytes.data() + bytes.size() - 128, "TAG", 3) == 0;
    if (!scan.apeTag && !scan.id3v1)
        scan.error = std::to_string(rest) + " bytes after the last frame at offset " + std::to_string(pos);
}

} // namespace

StreamScan scanStream(const std::vector<uint8_t>& bytes)
{
    StreamScan scan;
    size_t pos = 0;
    if (bytes.size() >= 3 && std::memcmp(bytes.data(), "ID3", 3) == 0) {
        scan.id3v2 = true;
        if (bytes.size() < 10) return scan.error = "truncated ID3v2 tag", scan;
        pos = 10 + (static_cast<size_t>(bytes[6] & 0x7f) << 21 | (bytes[7] & 0x7f) << 14 | (bytes[8] & 0x7f) << 7 |
                    (bytes[9] & 0x7f));
    }
    while (pos < bytes.size()) {
        auto h = parseFrameHeader(bytes.data() + pos, bytes.size() - pos);
        if (!h || pos + h->length > bytes.size()) break;
        const uint8_t* frame = bytes.data() + pos;
        if (scan.frames.empty()) {
            scan.firstMainDataBegin = mainDataBegin(frame, *h);
            scan.infoFrame = hasInfoTag(frame, *h);
        }
        if (h->protectedByCrc && computeFrameCrc(frame, *h) != storedFrameCrc(frame)) ++scan.badCrcFrames;
        scan.frames.push_back(*h);
        scan.frameBytes += h->length;
        pos += h->length;
    }
    checkTail(bytes, pos, scan);
    return scan;
}

} // namespace music
