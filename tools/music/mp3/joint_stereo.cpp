#include "mp3/joint_stereo.h"

#include "mp3/frame_header.h"

namespace music {

std::string markJointStereo(std::vector<uint8_t>& bytes)
{
    size_t pos = 0, index = 0;
    while (pos < bytes.size()) {
        auto h = parseFrameHeader(bytes.data() + pos, bytes.size() - pos);
        std::string where = "frame " + std::to_string(index) + " at offset " + std::to_string(pos);
        if (!h || pos + h->length > bytes.size()) return where + " is not a whole MPEG frame";
        if (h->version != 1) return where + " is not MPEG-1";
        if (h->mode == 3 || h->mode == 2) return where + " is not a stereo frame";
        if (h->mode == 1 && h->modeExtension != 0) return where + " already uses mid/side or intensity coding";
        uint8_t* frame = bytes.data() + pos;
        frame[3] = static_cast<uint8_t>((frame[3] & 0x0f) | 0x40);
        if (h->protectedByCrc) {
            uint16_t crc = computeFrameCrc(frame, *h);
            frame[4] = static_cast<uint8_t>(crc >> 8);
            frame[5] = static_cast<uint8_t>(crc & 0xff);
        }
        pos += h->length;
        ++index;
    }
    return index == 0 ? "no MPEG frames" : "";
}

} // namespace music
