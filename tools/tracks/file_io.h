#pragma once
// Whole-file reads and writes for the tool's commands, each failure said on
// `err` with the path and the system's reason.
#include <cstdio>
#include <string>
#include <string_view>

bool read_whole_file(const std::string& path, std::string* bytes, std::FILE* err);

bool write_whole_file(const std::string& path, std::string_view bytes, std::FILE* err);

// Writes beside `path` and renames over it, so a failure never leaves a half
// file where a whole one was.
bool replace_whole_file(const std::string& path, std::string_view bytes, std::FILE* err);

// Creates `dir` when missing; false (said on `err`) when it cannot be a folder.
bool make_folder(const std::string& dir, const char* purpose, std::FILE* err);
