#pragma once
// Writing one captured picture as a PNG file.

#include <cstdint>
#include <string>
#include <vector>

// Writes RGBA8 pixels (rows top first) as an RGB PNG: the intro's pictures
// are opaque, so the alpha channel would only add bytes. The same pixels
// always give the same file. False, with a message, when it cannot be written.
bool write_png(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height,
               std::string* error);
