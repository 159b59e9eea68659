#include "src/image_upload.h"

#include <stb_image.h>

#include <cstdio>

DecodedImage decode_image(AssetBytes png, std::string_view name) {
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = png.data ? stbi_load_from_memory(png.data, static_cast<int>(png.size), &w, &h, &channels, 4)
                             : nullptr;
  if (!pixels) {
    std::fprintf(stderr, "the embedded image %.*s does not decode: %s\n", static_cast<int>(name.size()),
                 name.data(), png.data ? stbi_failure_reason() : "not linked in");
    return {1, 1, std::vector<uint8_t>(4, 0)};
  }
  DecodedImage image{w, h, std::vector<uint8_t>(pixels, pixels + size_t(w) * h * 4)};
  stbi_image_free(pixels);
  return image;
}

gpu::Texture create_image_texture(gpu::Device& device, const DecodedImage& image, int mips, const char* label) {
  gpu::Texture t = device.create_texture({.width = image.width,
                                          .height = image.height,
                                          .mip_levels = mips,
                                          .format = gpu::Format::RGBA8,
                                          .bind = gpu::kBindRenderTarget | gpu::kBindShaderResource,
                                          .generate_mips = mips > 1,
                                          .label = label});
  device.update_subresource(t, image.rgba, static_cast<uint32_t>(image.width) * 4);
  return t;
}

gpu::ShaderResourceView create_image_srv(gpu::Device& device, gpu::Texture texture, int mips) {
  return device.create_srv({.texture = texture, .most_detailed_mip = 0, .mip_levels = mips});
}
