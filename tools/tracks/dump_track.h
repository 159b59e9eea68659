#pragma once
// --dump FILE: a track file's keys, one "row: value (code)" line each (the
// notation of the choreography sheets), or exactly why the registry would
// reject the file.
#include <cstdio>

int dump_track(const char* path, std::FILE* out, std::FILE* err);
