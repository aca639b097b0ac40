#pragma once

// The picture of a gun: where the pointer goes, bullet by bullet, and how that path is fitted
// into the view that draws it. Pure.

#include <vector>

#include "profiles/gun_document.h"

namespace vorlin {

struct PatternPoint {
  int x = 0;  // right is positive
  int y = 0;  // down is positive (screen coordinates)

  bool operator==(const PatternPoint&) const = default;
};

// The pointer's position before the first bullet (0, 0) and after each bullet: one point more
// than there are bullets. Distances are what the mouse moves (DeviceDistance).
std::vector<PatternPoint> PatternPoints(const std::vector<Bullet>& bullets);

// Drawing position = point * scale + offset.
struct PatternFrame {
  double scale = 1.0;
  double offset_x = 0.0;
  double offset_y = 0.0;
};

// The frame that shows every point inside a width x height area less `margin` on each side,
// centred, with the same scale on both axes, at most `max_scale` (a short pattern is not blown
// up). A path without extent (one point, or all points equal) is centred at `max_scale`.
PatternFrame FitPattern(const std::vector<PatternPoint>& points, double width, double height,
                        double margin, double max_scale);

}  // namespace vorlin
