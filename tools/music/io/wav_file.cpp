#include "io/wav_file.h"

#include <algorithm>
#include <vector>

#include "tools/common/wav_file.h"

namespace music {

// The tools' one WAV writer takes interleaved frames and writes silence past
// their end.
std::string writeFloatWav(const std::string& path, const Stereo& s, size_t begin, size_t count, int sampleRate)
{
    const size_t available = begin < s.size() ? std::min(count, s.size() - begin) : 0;
    std::vector<float> frames(available * 2);
    for (size_t i = 0; i < available; ++i) {
        frames[2 * i] = s.l[begin + i];
        frames[2 * i + 1] = s.r[begin + i];
    }
    const PcmSource source{frames.data(), available, 2, sampleRate};
    std::string error;
    return write_float_wav(path, source, 0, count, &error) ? "" : error;
}

} // namespace music
