#include "tools/capture/flash_periods.h"

#include <algorithm>
#include <cmath>

namespace {

// Summed-area table (one row and column of zeros in front).
std::vector<double> summed(const std::vector<float>& plane, int width, int height) {
  std::vector<double> s(static_cast<size_t>(width + 1) * (height + 1), 0.0);
  const int stride = width + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s[(y + 1) * stride + x + 1] = plane[y * width + x] + s[y * stride + x + 1] + s[(y + 1) * stride + x] -
                                    s[y * stride + x];
  return s;
}

double box(const std::vector<double>& s, int width, int x, int y, FieldSize f) {
  const int stride = width + 1;
  return s[(y + f.height) * stride + x + f.width] - s[y * stride + x + f.width] - s[(y + f.height) * stride + x] +
         s[y * stride + x];
}

}  // namespace

FlashPeriods::FlashPeriods(int width, int height, int fps)
    : width_(width),
      height_(height),
      fps_(fps),
      field_(visual_field(width, height)),
      columns_(width - field_.width + 1),
      rows_(height - field_.height + 1) {
  const size_t positions = static_cast<size_t>(columns_) * rows_;
  general_ = red_ = {std::vector<int8_t>(positions, 0), std::vector<std::deque<AreaTransition>>(positions)};
}

FlashPeriods::Worst FlashPeriods::add(Fields& fields, const std::vector<PixelChange>& changes) {
  const double field_area = static_cast<double>(field_.width) * field_.height;
  // Per field position: the sign whose pixels cover a quarter of it this
  // frame (0: neither, 2: both, a pattern), with its share and mean change.
  std::vector<int8_t> sign(fields.last.size(), 0);
  std::vector<AreaTransition> found(fields.last.size());
  for (int s : {1, -1}) {
    std::vector<float> hit(static_cast<size_t>(width_) * height_, 0.0f), size(hit.size(), 0.0f);
    bool any = false;
    for (const PixelChange& c : changes)
      if ((c.size > 0) == (s > 0)) hit[c.pixel] = 1, size[c.pixel] = std::fabs(c.size), any = true;
    if (!any) continue;
    const auto hits = summed(hit, width_, height_), sizes = summed(size, width_, height_);
    for (int y = 0; y < rows_; ++y)
      for (int x = 0; x < columns_; ++x) {
        const double n = box(hits, width_, x, y, field_);
        if (n < kFlashAreaShare * field_area) continue;
        const size_t at = static_cast<size_t>(y) * columns_ + x;
        sign[at] = sign[at] ? 2 : static_cast<int8_t>(s);
        found[at] = {frame_, n / field_area, box(sizes, width_, x, y, field_) / n};
      }
  }
  Worst worst;
  for (size_t at = 0; at < sign.size(); ++at) {
    std::deque<AreaTransition>& period = fields.period[at];
    if ((sign[at] == 1 || sign[at] == -1) && sign[at] != fields.last[at]) {
      fields.last[at] = sign[at];
      period.push_back(found[at]);
    }
    while (!period.empty() && period.front().frame <= frame_ - fps_) period.pop_front();
    if (period.size() <= worst.transitions) continue;
    worst = {period.size(), 0, 0};
    for (const AreaTransition& t : period)
      worst.share = std::max(worst.share, t.share), worst.change = std::max(worst.change, t.change);
  }
  return worst;
}

PeriodFlashes FlashPeriods::add_frame(const FrameChanges& changes) {
  const Worst general = add(general_, changes.general), red = add(red_, changes.red);
  ++frame_;
  PeriodFlashes out;
  out.general = general.transitions / 2.0;
  out.red = red.transitions / 2.0;
  out.area = general.transitions >= red.transitions ? general.share : red.share;
  out.change = general.change;
  return out;
}
