#pragma once
// The choreography as a picture: one panel per track, grouped by the part
// of the name before the colon, each track's value against time with its
// keys as dots and every segment drawn with its interpolation; the sections
// as labelled vertical lines, seconds and bars on the axes.
#include <cstdint>
#include <string>
#include <vector>

struct Track;

struct PlotRequest {
  double from = 0;  // seconds
  double to = 136;  // seconds, after `from`
  std::vector<int32_t> section_rows;
  std::string subtitle;  // where the keys come from
};

// An SVG document of the tracks over [from, to].
std::string plot_svg(const std::vector<const Track*>& tracks, const PlotRequest& request);

// The points of a track's curve over rows [from, to], as (row, value) pairs:
// steps hold then jump, lines go straight, eased segments are sampled
// `samples` times.
struct CurvePoint {
  double row;
  double value;
};
std::vector<CurvePoint> curve_points(const Track& track, double from_row, double to_row, int samples);
