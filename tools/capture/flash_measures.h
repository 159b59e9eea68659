#pragma once
// What a pixel of an sRGB picture contributes to flashing, as the usual
// photosensitivity guidance measures it: its relative luminance, and whether
// it is a saturated red and where its colour lies on the CIE 1976 UCS
// chromaticity diagram.

#include <cstdint>

struct PixelMeasure {
  float luminance;     // relative luminance, 0 (black) to 1 (white)
  float u, v;          // CIE 1976 u', v'; black takes the white point's
  float red_excess;    // max(R - G - B, 0) in linear light
  bool saturated_red;  // R / (R + G + B) >= 0.8 in linear light
};

// The measure of an 8-bit sRGB pixel.
PixelMeasure measure_pixel(uint8_t r, uint8_t g, uint8_t b);

// The 10-degree visual field at a typical viewing distance, in pixels of a
// picture `width` wide: the guidance's 341 x 256 rectangle on a 1024-pixel-wide
// screen, scaled with the picture's width and kept within its height.
struct FieldSize {
  int width;
  int height;
};
FieldSize visual_field(int width, int height);
