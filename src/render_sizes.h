#pragma once
// The three sizes every GPU object derives from: the screen (the desktop, or
// the size a capture asks for), the render size of the scene kernels (the
// screen scaled down to a width of 1920 when wider) and the bloom chain at
// half the screen.

#include <string>

struct Size {
  int width = 0;
  int height = 0;
};

// "WxH".
std::string size_text(Size size);

// Scaled in float32 and truncated, as the intro always has: 2048 x 1152 gives
// 1919 x 1080, one column short, and the kernels are used to it.
Size render_size(Size screen);

// The bloom chain's first level: half the screen, each side truncated but at
// least 1, so a screen with a side of 1 pixel still has a texture to draw into.
Size bloom_size(Size screen);

// At most `wanted` mip levels, and no more than a texture of `size` holds:
// the render-size textures ask for 6, more than a screen under 32 pixels
// both ways can have. Nothing reads the levels past the first.
int mip_levels_within(Size size, int wanted);

// Halvings of the half-size screen down to a side of 1, less the three
// smallest. Sizes so small that nothing is left still get one level: the
// chain needs a level to render into.
int bloom_level_count(Size screen);

// Size of bloom level i as the viewport sees it (each halving truncated).
Size bloom_level_size(Size screen, int level);

// Largest bloom level count the view arrays hold.
inline constexpr int kMaxBloomLevels = 10;
