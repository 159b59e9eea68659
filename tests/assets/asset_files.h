// Reading the intro's image files the way the runtime does, plus a PNG chunk
// reader for the properties that decoding hides (palette, transparency, profile).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmorand::asset_test {

std::string asset_path(const std::string& name);
std::vector<std::uint8_t> read_file(const std::string& path);

// An image decoded by stb_image with 4 requested channels.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels_in_file = 0;
    std::unique_ptr<std::uint8_t, void (*)(void*)> pixels{nullptr, nullptr};

    const std::uint8_t* at(int x, int y) const { return pixels.get() + (std::size_t(y) * width + x) * 4; }
};

// Decodes the named file in assets/ from memory; pixels is null on failure.
DecodedImage decode_asset(const std::string& name);

struct PngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
    bool crc_ok = false;
};

// Every chunk in file order; empty if the signature is wrong or a chunk runs past the end.
std::vector<PngChunk> png_chunks(const std::vector<std::uint8_t>& file);
const PngChunk* find_chunk(const std::vector<PngChunk>& chunks, const std::string& type);
std::size_t chunk_index(const std::vector<PngChunk>& chunks, const std::string& type);

std::uint32_t read_be32(const std::uint8_t* p);

}  // namespace velmorand::asset_test
