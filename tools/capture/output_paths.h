#pragma once
// Names of the files a capture writes, and the check that they can be
// written, made before the slow start-up rather than after it.

#include <string>
#include <vector>

#include "tools/capture/capture_options.h"

// FOLDER/frame_000123.png for frame 123 (counted from 0 s at the capture's
// frame rate, so a name says which frame of the intro it holds).
std::string frame_png_path(const std::string& folder, long long frame);

// One file per still: NAME_012.500.png for NAME.png, FOLDER/at_012.500.png
// for a folder. Times that would share a name are an error.
bool still_png_paths(const CaptureOptions& options, std::vector<std::string>* paths, std::string* error);

// Makes the folder when it is missing (its parent must exist) and proves
// that files can be created where the output goes. Message in `error`.
bool prepare_output(const CaptureOptions& options, std::string* error);

// The folder a file path lies in ("." for a bare name).
std::string parent_folder(const std::string& path);
