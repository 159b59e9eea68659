#pragma once
// velmorand-capture --flash-report: renders the intro (or reads a capture's
// numbered PNG files) and lists every second in which flashes exceed what
// the photosensitivity guidance allows.

#include <string>
#include <vector>

bool asks_for_flash_report(const std::vector<std::string>& args);

// The exit status: 0 nothing exceeds, 1 some second does, 2 bad arguments,
// 3 no device for the size, 4 a frame could not be read.
int run_flash_report(const std::vector<std::string>& args);

extern const char kFlashReportUsage[];
