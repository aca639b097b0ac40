#include "shoot/shoot_pattern.h"

#include <algorithm>

namespace vorlin {

std::vector<PatternPoint> PatternPoints(const std::vector<Bullet>& bullets) {
  std::vector<PatternPoint> points;
  points.reserve(bullets.size() + 1);
  PatternPoint at;
  points.push_back(at);
  for (const Bullet& bullet : bullets) {
    const int dx = DeviceDistance(bullet.x_distance);
    const int dy = DeviceDistance(bullet.y_distance);
    at.x += bullet.x_left ? -dx : dx;
    at.y += bullet.y_up ? -dy : dy;
    points.push_back(at);
  }
  return points;
}

PatternFrame FitPattern(const std::vector<PatternPoint>& points, double width, double height,
                        double margin, double max_scale) {
  PatternFrame frame;
  if (points.empty()) {
    frame.offset_x = width / 2;
    frame.offset_y = height / 2;
    frame.scale = max_scale;
    return frame;
  }
  int min_x = points.front().x, max_x = min_x;
  int min_y = points.front().y, max_y = min_y;
  for (const PatternPoint& p : points) {
    min_x = std::min(min_x, p.x);
    max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
  }
  const double room_x = std::max(0.0, width - 2 * margin);
  const double room_y = std::max(0.0, height - 2 * margin);
  const double span_x = max_x - min_x;
  const double span_y = max_y - min_y;
  double scale = max_scale;
  if (span_x > 0) scale = std::min(scale, room_x / span_x);
  if (span_y > 0) scale = std::min(scale, room_y / span_y);
  frame.scale = scale;
  frame.offset_x = width / 2 - (min_x + span_x / 2) * scale;
  frame.offset_y = height / 2 - (min_y + span_y / 2) * scale;
  return frame;
}

}  // namespace vorlin
