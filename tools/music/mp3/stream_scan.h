#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "mp3/frame_header.h"

namespace music {

// Everything the checks of an embedded stream look at, in one walk.
struct StreamScan {
    std::vector<FrameHeader> frames;
    size_t frameBytes = 0;       // bytes covered by frames
    size_t badCrcFrames = 0;
    int firstMainDataBegin = -1;
    bool id3v2 = false;          // "ID3" at the front
    bool id3v1 = false;          // "TAG" 128 bytes from the end
    bool apeTag = false;         // "APETAGEX" anywhere after the frames
    bool infoFrame = false;      // a Xing, Info or VBRI summary tag in the first frame
    std::string error;           // bytes that are neither frames nor a known tag
};

StreamScan scanStream(const std::vector<uint8_t>& bytes);

} // namespace music
