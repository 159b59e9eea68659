// velmorand-music: renders the soundtrack and prepares its MP3 stream.
//
//   velmorand-music render OUT.wav [--skip N] [--samples N]
//   velmorand-music mark-joint-stereo IN.mp3 OUT.mp3
//   velmorand-music inspect IN.mp3
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fprintf(stderr, "usage: velmorand-music render|mark-joint-stereo|inspect ...\n");
        return 2;
    }
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "render") return music::renderCommand(args);
    if (command == "mark-joint-stereo") return music::markJointStereoCommand(args);
    if (command == "inspect") return music::inspectCommand(args);
    std::fprintf(stderr, "velmorand-music: unknown command '%s'\n", command.c_str());
    return 2;
}
