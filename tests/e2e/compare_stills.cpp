// Compares stills of the two builds, PNG by PNG: the PSNR of the colour
// channels and the share of pixels whose every channel is within 6/255. A
// pair passes with at least 99 % of its pixels within, and no 8x8 block with
// more than 16 pixels outside: the 1 % spread over edges is rounding, the
// same count in one place is a moon, a star field or a word that is missing.
// For a pair that fails an amplified difference picture is written beside the
// Windows still.
//
//   compare_stills LINUX.png WINDOWS.png [LINUX.png WINDOWS.png ...]
//
// One line per pair; exit status 1 when any pair fails or cannot be read.
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTolerance = 6;
constexpr double kRequiredShare = 0.99;
constexpr int kBlock = 8;
constexpr int kMostOutsideInABlock = 16;

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
};

bool load(const char* path, Picture* p) {
  int channels = 0;
  unsigned char* data = stbi_load(path, &p->width, &p->height, &channels, 4);
  if (!data) return false;
  p->rgba.assign(data, data + size_t(p->width) * p->height * 4);
  stbi_image_free(data);
  return true;
}

struct Comparison {
  double psnr = INFINITY;
  double within_share = 1.0;
  int worst = 0;
  int worst_block = 0;  // most pixels outside the tolerance in one 8x8 block
};

Comparison compare(const Picture& a, const Picture& b, std::vector<unsigned char>* difference) {
  const size_t pixels = a.rgba.size() / 4;
  const int blocks_across = (a.width + kBlock - 1) / kBlock;
  std::vector<int> outside_in_block(size_t(blocks_across) * ((a.height + kBlock - 1) / kBlock), 0);
  double squared = 0;
  size_t within = 0;
  Comparison c;
  difference->assign(a.rgba.size(), 255);
  for (size_t i = 0; i < pixels; ++i) {
    int largest = 0;
    for (int ch = 0; ch < 3; ++ch) {
      int d = std::abs(int(a.rgba[i * 4 + ch]) - int(b.rgba[i * 4 + ch]));
      squared += double(d) * d;
      largest = std::max(largest, d);
      (*difference)[i * 4 + ch] = static_cast<unsigned char>(std::min(255, d * 8));
    }
    within += largest <= kTolerance;
    c.worst = std::max(c.worst, largest);
    const int x = int(i % a.width), y = int(i / a.width);
    int& block = outside_in_block[size_t(y / kBlock) * blocks_across + x / kBlock];
    block += largest > kTolerance;
    c.worst_block = std::max(c.worst_block, block);
  }
  if (squared > 0) c.psnr = 10.0 * std::log10(255.0 * 255.0 / (squared / (pixels * 3.0)));
  c.within_share = double(within) / double(pixels);
  return c;
}

// False when the pair fails the rule or cannot be compared.
bool compare_pair(const char* linux_path, const char* windows_path) {
  Picture a, b;
  if (!load(linux_path, &a) || !load(windows_path, &b)) {
    std::printf("%s: cannot read %s\n", windows_path, a.rgba.empty() ? linux_path : windows_path);
    return false;
  }
  if (a.width != b.width || a.height != b.height || a.rgba.empty()) {
    std::printf("%s: %dx%d against %dx%d\n", windows_path, b.width, b.height, a.width, a.height);
    return false;
  }
  std::vector<unsigned char> difference;
  Comparison c = compare(a, b, &difference);
  bool pass = c.within_share >= kRequiredShare && c.worst_block <= kMostOutsideInABlock;
  char psnr[16] = "inf";
  if (!std::isinf(c.psnr)) std::snprintf(psnr, sizeof psnr, "%.1f", c.psnr);
  std::printf("%s: PSNR %s dB, %.2f %% of pixels within %d/255, worst %d/255, worst %dx%d block %d outside: %s\n",
              windows_path, psnr, 100.0 * c.within_share, kTolerance, c.worst, kBlock, kBlock, c.worst_block,
              pass ? "same picture" : "DIFFERENT");
  if (!pass) {
    std::string out = std::string(windows_path) + ".difference.png";
    stbi_write_png(out.c_str(), a.width, a.height, 4, difference.data(), a.width * 4);
  }
  return pass;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: compare_stills LINUX.png WINDOWS.png [LINUX.png WINDOWS.png ...]\n");
    return 2;
  }
  bool all = true;
  for (int i = 1; i + 1 < argc; i += 2) all = compare_pair(argv[i], argv[i + 1]) && all;
  return all ? 0 : 1;
}
