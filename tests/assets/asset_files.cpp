#include "asset_files.h"

#include <stb_image.h>

#include <array>
#include <fstream>
#include <iterator>

namespace velmorand::asset_test {

std::string asset_path(const std::string& name) { return std::string(VELMORAND_SOURCE_DIR) + "/assets/" + name; }

std::vector<std::uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedImage decode_asset(const std::string& name) {
    const std::vector<std::uint8_t> bytes = read_file(asset_path(name));
    DecodedImage image;
    if (bytes.empty()) return image;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &image.width,
                                            &image.height, &image.channels_in_file, 4);
    image.pixels = {pixels, stbi_image_free};
    return image;
}

std::uint32_t read_be32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace

std::vector<PngChunk> png_chunks(const std::vector<std::uint8_t>& file) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) return {};
    std::vector<PngChunk> chunks;
    std::size_t pos = 8;
    while (pos + 12 <= file.size()) {
        const std::uint32_t length = read_be32(&file[pos]);
        if (length > file.size() - pos - 12) return {};
        const std::uint8_t* type = &file[pos + 4];
        PngChunk chunk;
        chunk.type.assign(type, type + 4);
        chunk.data.assign(type + 4, type + 4 + length);
        chunk.crc_ok = crc32(type, length + 4) == read_be32(type + 4 + length);
        chunks.push_back(std::move(chunk));
        pos += 12 + length;
    }
    return chunks;
}

const PngChunk* find_chunk(const std::vector<PngChunk>& chunks, const std::string& type) {
    for (const PngChunk& chunk : chunks)
        if (chunk.type == type) return &chunk;
    return nullptr;
}

std::size_t chunk_index(const std::vector<PngChunk>& chunks, const std::string& type) {
    for (std::size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].type == type) return i;
    return chunks.size();
}

}  // namespace velmorand::asset_test
