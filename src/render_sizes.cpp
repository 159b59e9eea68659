#include "src/render_sizes.h"

#include <algorithm>

Size render_size(Size screen) {
  if (screen.width <= 1920) return screen;
  float scale = static_cast<float>(screen.width) / 1920.0f;
  return {static_cast<int>(static_cast<float>(screen.width) / scale),
          static_cast<int>(static_cast<float>(screen.height) / scale)};
}

std::string size_text(Size size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

Size bloom_size(Size screen) { return {std::max(1, screen.width / 2), std::max(1, screen.height / 2)}; }

int mip_levels_within(Size size, int wanted) {
  int levels = 1;
  for (int side = std::max(size.width, size.height); side > 1 && levels < wanted; side /= 2) ++levels;
  return levels;
}

int bloom_level_count(Size screen) {
  auto [w, h] = bloom_size(screen);
  int n = 1;
  while (w > 1 && h > 1) {
    w /= 2;
    h /= 2;
    ++n;
  }
  return std::clamp(n - 3, 1, kMaxBloomLevels);
}

Size bloom_level_size(Size screen, int level) {
  const Size first = bloom_size(screen);
  float w = static_cast<float>(first.width), h = static_cast<float>(first.height);
  for (int i = 0; i < level; ++i) {
    w *= 0.5f;
    h *= 0.5f;
  }
  return {static_cast<int>(w), static_cast<int>(h)};
}
