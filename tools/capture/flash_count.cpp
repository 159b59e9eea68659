#include "tools/capture/flash_count.h"

#include <algorithm>
#include <map>

std::vector<FlashSecond> seconds_over_limit(const std::vector<PeriodFlashes>& periods, int64_t first_frame,
                                            int fps) {
  std::map<int, FlashSecond> found;
  for (size_t i = 0; i < periods.size(); ++i) {
    const PeriodFlashes& p = periods[i];
    if (p.general <= kFlashesAllowedPerSecond && p.red <= kFlashesAllowedPerSecond) continue;
    // The period holds the changes into frames end - fps + 1 .. end.
    const int64_t end = first_frame + static_cast<int64_t>(i);
    const double start = std::max<double>(0.0, static_cast<double>(end - fps) / fps);
    const int second = static_cast<int>(start);
    auto [entry, fresh] = found.try_emplace(second,
                                            FlashSecond{second, start, p.general, p.red, p.area, p.change});
    FlashSecond& s = entry->second;
    if (fresh) continue;
    if (p.general > s.general_flashes) {
      s.general_flashes = p.general;
      s.period_start = start;
    }
    s.red_flashes = std::max(s.red_flashes, p.red);
    s.area = std::max(s.area, p.area);
    s.change = std::max(s.change, p.change);
  }
  std::vector<FlashSecond> out;
  for (const auto& entry : found) out.push_back(entry.second);
  return out;
}
