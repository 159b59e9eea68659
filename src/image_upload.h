#pragma once
// Embedded PNG images as RGBA8 textures: decoded to 8-bit RGBA, four
// channels asked for, rows top first, uploaded to level 0.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/gpu/gpu.h"
#include "src/asset_catalog.h"

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// An image that does not decode becomes one transparent texel, with a
// message: the intro shows nothing there rather than stopping.
DecodedImage decode_image(AssetBytes png, std::string_view name);

struct ImageTexture {
  gpu::Texture texture;
  gpu::ShaderResourceView srv;
};

// mips > 1 declares the extra levels (never written) and the generate-mips
// flag, as the blue-noise texture is declared.
gpu::Texture create_image_texture(gpu::Device& device, const DecodedImage& image, int mips, const char* label);
gpu::ShaderResourceView create_image_srv(gpu::Device& device, gpu::Texture texture, int mips);
