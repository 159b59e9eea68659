#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace music {

// Relabels every frame of a left/right-coded MPEG-1 Layer III stream as
// joint stereo with mode extension 0 (neither intensity nor mid/side coding),
// which decodes to exactly the same samples, and renews each CRC. Frames that
// already use mid/side or intensity coding are refused: relabelling them would
// change the sound. Returns an error message, empty on success.
std::string markJointStereo(std::vector<uint8_t>& bytes);

} // namespace music
