#include "tools/capture/flash_periods.h"

#include <algorithm>

namespace {

// Summed-area table (one row and column of zeros in front).
template <typename Value>
std::vector<double> summed(int width, int height, Value value) {
  std::vector<double> s(static_cast<size_t>(width + 1) * (height + 1), 0.0);
  const int stride = width + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s[(y + 1) * stride + x + 1] =
          value(y * width + x) + s[y * stride + x + 1] + s[(y + 1) * stride + x] - s[y * stride + x];
  return s;
}

double box(const std::vector<double>& s, int width, int x, int y, FieldSize f) {
  const int stride = width + 1;
  return s[(y + f.height) * stride + x + f.width] - s[y * stride + x + f.width] - s[(y + f.height) * stride + x] +
         s[y * stride + x];
}

}  // namespace

void FlashPeriods::Tally::add(const std::vector<PixelChange>& changes, int sign) {
  for (const PixelChange& c : changes) {
    count[c.pixel] = static_cast<uint16_t>(count[c.pixel] + sign);
    size[c.pixel] += sign * c.size;
  }
}

FlashPeriods::FlashPeriods(int width, int height, int fps)
    : width_(width), height_(height), fps_(fps), field_(visual_field(width, height)) {
  const size_t pixels = static_cast<size_t>(width) * height;
  general_ = red_ = {std::vector<uint16_t>(pixels, 0), std::vector<float>(pixels, 0.0f)};
}

FlashPeriods::Coverage FlashPeriods::widest(const Tally& t, int level) const {
  auto hit = [&](int i) { return t.count[i] >= level; };
  const auto hits = summed(width_, height_, [&](int i) { return hit(i) ? 1.0 : 0.0; });
  const auto sizes = summed(width_, height_, [&](int i) { return hit(i) ? t.size[i] / t.count[i] : 0.0; });
  Coverage best{0, 0};
  double most = 0;
  for (int y = 0; y + field_.height <= height_; ++y)
    for (int x = 0; x + field_.width <= width_; ++x)
      if (const double n = box(hits, width_, x, y, field_); n > most) {
        most = n;
        best.change = box(sizes, width_, x, y, field_) / n;
      }
  best.share = most / (static_cast<double>(field_.width) * field_.height);
  return best;
}

int FlashPeriods::shared_level(const Tally& t) const {
  // Fewer pixels reach each higher count: search for the last level that a
  // quarter of some field still reaches.
  int low = 0, high = *std::max_element(t.count.begin(), t.count.end());
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (widest(t, mid).share >= kFlashAreaShare)
      low = mid;
    else
      high = mid - 1;
  }
  return low;
}

PeriodFlashes FlashPeriods::add_frame(FrameChanges changes) {
  general_.add(changes.general, 1);
  red_.add(changes.red, 1);
  period_.push_back(std::move(changes));
  if (static_cast<int>(period_.size()) > fps_) {
    general_.add(period_.front().general, -1);
    red_.add(period_.front().red, -1);
    period_.pop_front();
  }
  PeriodFlashes out;
  out.general = shared_level(general_) / 2.0;
  out.red = shared_level(red_) / 2.0;
  // The area that flashes too often: more transitions than three flashes make.
  constexpr int kOver = 2 * kFlashesAllowedPerSecond + 1;
  const Coverage general = widest(general_, kOver), red = widest(red_, kOver);
  out.area = std::max(general.share, red.share);
  out.change = general.change;
  return out;
}
