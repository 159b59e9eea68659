#include "io/wav_file.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace music {
namespace {

static_assert(std::endian::native == std::endian::little, "WAV data is written as the host stores floats");

void put32(std::vector<char>& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void put16(std::vector<char>& b, uint16_t v)
{
    b.push_back(static_cast<char>(v & 0xff));
    b.push_back(static_cast<char>(v >> 8));
}

void putTag(std::vector<char>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

// RIFF header with the format chunk of IEEE float data and, as float WAVs
// must have, a fact chunk with the frame count.
std::vector<char> header(size_t frames, int sampleRate)
{
    uint32_t dataBytes = static_cast<uint32_t>(frames * 8);
    std::vector<char> b;
    putTag(b, "RIFF");
    put32(b, 4 + (8 + 18) + (8 + 4) + (8 + dataBytes));
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 18);
    put16(b, 3);
    put16(b, 2);
    put32(b, static_cast<uint32_t>(sampleRate));
    put32(b, static_cast<uint32_t>(sampleRate) * 8);
    put16(b, 8);
    put16(b, 32);
    put16(b, 0);
    putTag(b, "fact");
    put32(b, 4);
    put32(b, static_cast<uint32_t>(frames));
    putTag(b, "data");
    put32(b, dataBytes);
    return b;
}

} // namespace

std::string writeFloatWav(const std::string& path, const Stereo& s, size_t begin, size_t count, int sampleRate)
{
    if (count > (0xffffffffu - 64) / 8) return "too many samples for a WAV file";
    std::ofstream out(path, std::ios::binary);
    if (!out) return "cannot create " + path + ": " + std::strerror(errno);
    std::vector<char> h = header(count, sampleRate);
    out.write(h.data(), static_cast<std::streamsize>(h.size()));
    std::vector<float> frames(count * 2, 0.0f);
    for (size_t i = 0; i < count && begin + i < s.size(); ++i) {
        frames[2 * i] = s.l[begin + i];
        frames[2 * i + 1] = s.r[begin + i];
    }
    out.write(reinterpret_cast<const char*>(frames.data()), static_cast<std::streamsize>(frames.size() * sizeof(float)));
    out.close();
    if (!out) return "cannot write " + path;
    return {};
}

} // namespace music
