#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "mp3/joint_stereo.h"
#include "mp3/stream_scan.h"

namespace music {
namespace {

bool readAll(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

} // namespace

int markJointStereoCommand(const std::vector<std::string>& args)
{
    if (args.size() != 2) return std::fprintf(stderr, "usage: velmorand-music mark-joint-stereo IN.mp3 OUT.mp3\n"), 2;
    std::vector<uint8_t> bytes;
    if (!readAll(args[0], bytes)) return std::fprintf(stderr, "velmorand-music: cannot read %s\n", args[0].c_str()), 1;
    std::string error = markJointStereo(bytes);
    if (!error.empty()) return std::fprintf(stderr, "velmorand-music: %s: %s\n", args[0].c_str(), error.c_str()), 1;
    std::ofstream out(args[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return std::fprintf(stderr, "velmorand-music: cannot write %s\n", args[1].c_str()), 1;
    return 0;
}

int inspectCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1) return std::fprintf(stderr, "usage: velmorand-music inspect IN.mp3\n"), 2;
    std::vector<uint8_t> bytes;
    if (!readAll(args[0], bytes)) return std::fprintf(stderr, "velmorand-music: cannot read %s\n", args[0].c_str()), 1;
    StreamScan s = scanStream(bytes);
    std::map<std::string, size_t> kinds;
    size_t padded = 0;
    for (const FrameHeader& h : s.frames) {
        padded += h.padding;
        ++kinds["MPEG-" + std::to_string(h.version) + " L" + std::to_string(h.layer) + " " +
                std::to_string(h.sampleRate) + " Hz " + std::to_string(h.bitrateKbps) + " kbit/s mode " +
                std::to_string(h.mode) + " ext " + std::to_string(h.modeExtension) + (h.protectedByCrc ? " crc" : "")];
    }
    std::printf("bytes %zu, in frames %zu, frames %zu, padded %zu, samples %zu\n", bytes.size(), s.frameBytes,
                s.frames.size(), padded, s.frames.size() * 1152);
    for (const auto& [kind, count] : kinds) std::printf("  %zu x %s\n", count, kind.c_str());
    std::printf("bad crc %zu, first main-data-begin %d, id3v2 %d, id3v1 %d, ape %d, info frame %d\n",
                s.badCrcFrames, s.firstMainDataBegin, s.id3v2, s.id3v1, s.apeTag, s.infoFrame);
    if (!s.error.empty()) std::printf("error: %s\n", s.error.c_str());
    return s.error.empty() ? 0 : 1;
}

} // namespace music
