#include "score/score.h"

#include <algorithm>

namespace music {

float Automation::at(double row) const
{
    if (keys.empty()) return 0.0f;
    if (row <= keys.front().first) return keys.front().second;
    if (row >= keys.back().first) return keys.back().second;
    auto hi = std::upper_bound(keys.begin(), keys.end(), row,
                               [](double r, const std::pair<double, float>& k) { return r < k.first; });
    auto lo = hi - 1;
    double t = (row - lo->first) / (hi->first - lo->first);
    return static_cast<float>(lo->second + (hi->second - lo->second) * t);
}

float Score::param(Param p, double row, float fallback) const
{
    auto it = automation.find(p);
    return it == automation.end() || it->second.keys.empty() ? fallback : it->second.at(row);
}

} // namespace music
