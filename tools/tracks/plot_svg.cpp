#include "tools/tracks/plot_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "src/pass_schedule.h"
#include "sync/track.h"

namespace {

constexpr int kRowsPerBar = 32;  // the music's bar, as the player moves by it
constexpr double kWidth = 1400, kLeft = 200, kRight = 24;
constexpr double kTop = 98, kPanel = 58, kPanelGap = 10, kGroupHead = 30, kBottom = 46;
constexpr int kEasedSamples = 24;

// One colour a group, in order of appearance; one a mode for the dots.
constexpr const char* kGroupColours[] = {"#1f6fb4", "#c2461d", "#2e8b3e", "#8a3ea8", "#b8860b", "#0f8a8a"};
constexpr const char* kModeColours[] = {"#555555", "#1f6fb4", "#2e8b3e", "#c2461d"};
constexpr const char* kModeNames[] = {"step", "linear", "smooth", "ramp"};

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string short_value(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
  return out;
}

std::string group_of(const char* name) {
  const std::string_view n(name);
  return std::string(n.substr(0, n.find(':')));
}

struct Frame {
  double from_row, to_row;
  double x(double row) const { return kLeft + (row - from_row) / (to_row - from_row) * (kWidth - kLeft - kRight); }
};

// The smallest of `steps` that keeps labels `spacing` pixels apart.
double tick_step(double units_per_pixel, double spacing, std::initializer_list<double> steps) {
  for (double s : steps)
    if (s / units_per_pixel >= spacing) return s;
  return *(steps.end() - 1);
}

// The values shown, and the panel's scale: a little beyond them, so that
// curves at the extremes stay clear of the panel's edge.
struct ValueRange {
  double low, high;
  double scale_low, scale_high;
};

ValueRange value_range(const std::vector<CurvePoint>& points) {
  double low = points.front().value, high = low;
  for (const CurvePoint& p : points) low = std::min(low, p.value), high = std::max(high, p.value);
  const double pad = high > low ? (high - low) * 0.08 : std::max(std::fabs(low) * 0.1, 0.5);
  return {low, high, low - pad, high + pad};
}

void panel(std::string& svg, const Track& track, const Frame& f, double top, const char* colour) {
  const std::vector<CurvePoint> points = curve_points(track, f.from_row, f.to_row, kEasedSamples);
  const ValueRange range = value_range(points);
  auto y = [&](double v) {
    return top + kPanel - (v - range.scale_low) / (range.scale_high - range.scale_low) * kPanel;
  };
  const std::string_view name(track.name);
  svg += "<rect x='" + number(kLeft) + "' y='" + number(top) + "' width='" + number(kWidth - kLeft - kRight) +
         "' height='" + number(kPanel) + "' class='panel'/>\n";
  svg += "<text x='" + number(kLeft - 10) + "' y='" + number(top + kPanel / 2 + 5) + "' class='name'>" +
         escaped(name.substr(name.find(':') + 1)) + "</text>\n";
  svg += "<text x='" + number(kLeft - 10) + "' y='" + number(top + 10) + "' class='limit'>" +
         short_value(range.high) + "</text>\n";
  svg += "<text x='" + number(kLeft - 10) + "' y='" + number(top + kPanel - 2) + "' class='limit'>" +
         short_value(range.low) + "</text>\n";
  std::string path;
  for (const CurvePoint& p : points)
    path += (path.empty() ? "M" : " L") + number(f.x(p.row)) + " " + number(y(p.value));
  svg += "<path d='" + path + "' stroke='" + colour + "' class='curve'/>\n";
  for (int32_t k = 0; k < track.key_count; ++k) {
    const TrackKey& key = track.keys[k];
    if (key.row < f.from_row || key.row > f.to_row) continue;
    const int mode = std::clamp(static_cast<int>(key.interpolation), 0, 3);
    svg += "<circle cx='" + number(f.x(key.row)) + "' cy='" + number(y(key.value)) + "' r='2.4' fill='" +
           kModeColours[mode] + "'/>\n";
  }
}

void axes(std::string& svg, const Frame& f, double bottom) {
  const double width = kWidth - kLeft - kRight;
  const double seconds_per_pixel = (f.to_row - f.from_row) / kRowsPerSecond / width;
  const double second_step = tick_step(seconds_per_pixel, 48, {0.25, 0.5, 1, 2, 5, 10, 20, 50});
  const double from_s = f.from_row / kRowsPerSecond, to_s = f.to_row / kRowsPerSecond;
  for (double s = std::ceil(from_s / second_step) * second_step; s <= to_s + 1e-9; s += second_step) {
    const std::string x = number(f.x(s * kRowsPerSecond));
    svg += "<line x1='" + x + "' y1='" + number(bottom) + "' x2='" + x + "' y2='" + number(bottom + 6) +
           "' class='tick'/>\n";
    svg += "<text x='" + x + "' y='" + number(bottom + 20) + "' class='axis'>" + short_value(s) + " s</text>\n";
  }
  const double bars_per_pixel = seconds_per_pixel * kRowsPerSecond / kRowsPerBar;
  const double bar_step = tick_step(bars_per_pixel, 40, {1, 2, 4, 8, 16, 32});
  for (double b = std::ceil(f.from_row / kRowsPerBar / bar_step) * bar_step; b * kRowsPerBar <= f.to_row;
       b += bar_step) {
    const std::string x = number(f.x(b * kRowsPerBar));
    svg += "<line x1='" + x + "' y1='" + number(kTop) + "' x2='" + x + "' y2='" + number(bottom) +
           "' class='bar'/>\n";
    svg += "<text x='" + x + "' y='" + number(kTop - 6) + "' class='axis'>" + short_value(b) + "</text>\n";
  }
  svg += "<text x='" + number(kLeft - 28) + "' y='" + number(kTop - 6) + "' class='limit'>bar</text>\n";
  svg += "<text x='" + number(kLeft - 28) + "' y='" + number(bottom + 20) + "' class='limit'>time</text>\n";
}

void sections(std::string& svg, const Frame& f, const std::vector<int32_t>& rows, double bottom) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] < f.from_row || rows[i] > f.to_row) continue;
    const std::string x = number(f.x(rows[i]));
    // Three heights in turn, so that the names of close sections do not collide.
    const double label = kTop - 26 - 14 * static_cast<double>(i % 3);
    svg += "<line x1='" + x + "' y1='" + number(label - 10) + "' x2='" + x + "' y2='" + number(bottom) +
           "' class='section'/>\n";
    // Near the right edge the name goes to the left of its line.
    const bool at_edge = f.x(rows[i]) > kWidth - kRight - 110;
    svg += "<text x='" + number(f.x(rows[i]) + (at_edge ? -3 : 3)) + "' y='" + number(label) +
           "' class='sectionname'" + (at_edge ? " text-anchor='end'" : "") + ">" + std::to_string(i + 1) +
           " · row " + std::to_string(rows[i]) + "</text>\n";
  }
}

void legend(std::string& svg) {
  double x = kWidth - kRight - 4 * 80;
  for (int mode = 0; mode < 4; ++mode, x += 80) {
    svg += "<circle cx='" + number(x) + "' cy='18' r='3.5' fill='" + kModeColours[mode] + "'/>";
    svg += "<text x='" + number(x + 8) + "' y='22' class='legend'>" + kModeNames[mode] + " key</text>\n";
  }
}

}  // namespace

std::vector<CurvePoint> curve_points(const Track& track, double from_row, double to_row, int samples) {
  std::vector<CurvePoint> points{{from_row, track_value_at(&track, from_row)}};
  for (int32_t k = 0; k <= track.key_count; ++k) {
    // Segment k runs from key k - 1 (or the start) to key k (or the end).
    const double a = k == 0 ? from_row : std::max<double>(track.keys[k - 1].row, from_row);
    const double b = k == track.key_count ? to_row : std::min<double>(track.keys[k].row, to_row);
    if (b <= a) continue;
    const bool eased = k > 0 && k < track.key_count &&
                       (track.keys[k - 1].interpolation == Interpolation::Smooth ||
                        track.keys[k - 1].interpolation == Interpolation::Ramp);
    if (k > 0 && a > points.back().row) points.push_back({a, track_value_at(&track, a)});
    for (int i = 1; eased && i < samples; ++i) {
      const double row = a + (b - a) * i / samples;
      points.push_back({row, track_value_at(&track, row)});
    }
    // The value just before b: a step holds to it, the others arrive at the next key.
    const bool step = k == 0 || k == track.key_count || track.keys[k - 1].interpolation == Interpolation::Step;
    const bool reaches_key = k < track.key_count && b == track.keys[k].row;
    const double arriving = step          ? points.back().value
                            : reaches_key ? track.keys[k].value
                                          : track_value_at(&track, b);
    points.push_back({b, arriving});
    if (reaches_key) points.push_back({b, track.keys[k].value});
  }
  return points;
}

std::string plot_svg(const std::vector<const Track*>& tracks, const PlotRequest& request) {
  const Frame f{request.from * kRowsPerSecond, request.to * kRowsPerSecond};
  std::vector<std::string> groups;
  for (const Track* t : tracks)
    if (std::find(groups.begin(), groups.end(), group_of(t->name)) == groups.end())
      groups.push_back(group_of(t->name));
  const double bottom = kTop + groups.size() * kGroupHead + tracks.size() * (kPanel + kPanelGap);
  std::string body;
  double top = kTop;
  for (size_t g = 0; g < groups.size(); ++g) {
    body += "<text x='" + number(12) + "' y='" + number(top + 21) + "' class='group' fill='" +
            kGroupColours[g % 6] + "'>" + escaped(groups[g]) + "</text>\n";
    top += kGroupHead;
    for (const Track* t : tracks) {
      if (group_of(t->name) != groups[g]) continue;
      panel(body, *t, f, top, kGroupColours[g % 6]);
      top += kPanel + kPanelGap;
    }
  }
  std::string svg = "<?xml version='1.0' encoding='UTF-8'?>\n<svg xmlns='http://www.w3.org/2000/svg' width='" +
                    number(kWidth) + "' height='" + number(bottom + kBottom) + "' font-family='sans-serif'>\n";
  svg +=
      "<style>.panel{fill:#f6f6f2;stroke:#ddd}.curve{fill:none;stroke-width:1.4}"
      ".name{font-size:13px;text-anchor:end}.limit{font-size:10px;fill:#777;text-anchor:end}"
      ".group{font-size:16px;font-weight:bold}.axis{font-size:11px;fill:#444;text-anchor:middle}"
      ".tick{stroke:#444}.bar{stroke:#000;stroke-opacity:0.07}"
      ".section{stroke:#b03060;stroke-width:1;stroke-dasharray:4 3}"
      ".sectionname{font-size:11px;fill:#b03060}.legend{font-size:12px}.title{font-size:16px}</style>\n";
  svg += "<rect width='100%' height='100%' fill='white'/>\n";
  svg += "<text x='12' y='22' class='title'>Choreography, " + short_value(request.from) + " to " +
         short_value(request.to) + " s" + (request.subtitle.empty() ? "" : ": " + escaped(request.subtitle)) +
         "</text>\n";
  legend(svg);
  axes(svg, f, bottom);
  svg += body;
  sections(svg, f, request.section_rows, bottom);
  svg += "</svg>\n";
  return svg;
}
