#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "dsp/loudness.h"
#include "io/wav_file.h"
#include "mix/master.h"
#include "mix/mixer.h"
#include "score/timing.h"
#include "song/song.h"

namespace music {
namespace {

struct RenderArgs {
    std::string out;
    long skip = 0;      // samples dropped from the front (the decoder's delay)
    long samples = -1;  // samples written; -1 for the whole song
    std::string error;
};

RenderArgs parseRenderArgs(const std::vector<std::string>& args)
{
    RenderArgs r;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--skip" || a == "--samples") && i + 1 < args.size()) {
            char* end = nullptr;
            long v = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || v < 0) r.error = "bad number '" + args[i] + "' for " + a;
            (a == "--skip" ? r.skip : r.samples) = v;
        } else if (r.out.empty() && a.rfind("--", 0) != 0) {
            r.out = a;
        } else {
            r.error = "unexpected argument '" + a + "'";
        }
    }
    if (r.out.empty() && r.error.empty()) r.error = "usage: velmorand-music render OUT.wav [--skip N] [--samples N]";
    return r;
}

// Loudness of each part of the song, to see the arrangement breathe.
void printSections(const Stereo& mix)
{
    static const std::pair<const char*, double> parts[] = {
        {"intro", 0},    {"groove", 127},  {"second", 384},   {"pre-drop", 640}, {"drop", 896},
        {"break", 1152}, {"return", 1279}, {"finale", 1406},  {"strobe", 1663},  {"climax", 1920},
        {"outro", 2046}, {"end", 2176}};
    for (size_t i = 0; i + 1 < std::size(parts); ++i)
        std::printf("  %-9s rows %4.0f-%4.0f  %6.1f LUFS\n", parts[i].first, parts[i].second, parts[i + 1].second,
                    sectionLoudness(mix, kSampleRate, rowToSample(parts[i].second), rowToSample(parts[i + 1].second)));
}

} // namespace

int renderCommand(const std::vector<std::string>& args)
{
    RenderArgs r = parseRenderArgs(args);
    if (!r.error.empty()) return std::fprintf(stderr, "velmorand-music: %s\n", r.error.c_str()), 2;
    auto started = std::chrono::steady_clock::now();
    std::vector<std::string> errors;
    Score score = buildSong(errors);
    for (const std::string& e : errors) std::fprintf(stderr, "song data: %s\n", e.c_str());
    if (!errors.empty()) return 1;

    long songSamples = rowToSample(score.lengthRows) + static_cast<long>(kSampleRate);
    long count = r.samples >= 0 ? r.samples : songSamples - r.skip;
    size_t total = static_cast<size_t>(std::max(songSamples, r.skip + count));
    Stereo mix = mixScore(score, total, static_cast<float>(kSampleRate));
    MasterReport report = masterMix(mix, score, MasterSettings{}, static_cast<float>(kSampleRate));

    std::string error = writeFloatWav(r.out, mix, static_cast<size_t>(r.skip), static_cast<size_t>(count),
                                      static_cast<int>(kSampleRate));
    if (!error.empty()) return std::fprintf(stderr, "velmorand-music: %s\n", error.c_str()), 1;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("rendered %zu notes, %ld samples in %.1f s\n", score.notes.size(), count, seconds);
    std::printf("loudness %.2f LUFS, true peak %.2f dBTP, master gain %+.1f dB\n", report.loudnessLufs,
                report.truePeakDb, report.gainDb);
    printSections(mix);
    return 0;
}

} // namespace music
