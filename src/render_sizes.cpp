#include "src/render_sizes.h"

#include <algorithm>

Size render_size(Size screen) {
  if (screen.width <= 1920) return screen;
  float scale = static_cast<float>(screen.width) / 1920.0f;
  return {static_cast<int>(static_cast<float>(screen.width) / scale),
          static_cast<int>(static_cast<float>(screen.height) / scale)};
}

int bloom_level_count(Size screen) {
  int w = screen.width / 2, h = screen.height / 2, n = 1;
  while (w > 1 && h > 1) {
    w /= 2;
    h /= 2;
    ++n;
  }
  return std::clamp(n - 3, 1, kMaxBloomLevels);
}

Size bloom_level_size(Size screen, int level) {
  float w = static_cast<float>(screen.width / 2), h = static_cast<float>(screen.height / 2);
  for (int i = 0; i < level; ++i) {
    w *= 0.5f;
    h *= 0.5f;
  }
  return {static_cast<int>(w), static_cast<int>(h)};
}
