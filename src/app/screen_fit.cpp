#include "app/screen_fit.h"

#include <cmath>

namespace vorlin {

int DpiForMonitor(QSize monitor) {
  return monitor.width() > 1500 && monitor.height() > 960 ? 144 : 96;
}

bool IsSupportedDpi(int dpi) {
  switch (dpi) {
    case 48:
    case 72:
    case 96:
    case 120:
    case 144:
    case 168:
    case 192:
      return true;
  }
  return false;
}

QSize MainWindowSizeAt(int dpi) {
  const double factor = dpi / 96.0;
  return {static_cast<int>(std::lround(kMainWindowSize.width() * factor)),
          static_cast<int>(std::lround(kMainWindowSize.height() * factor))};
}

MenuCorner TrayMenuCorner(const QRect& screen, const QRect& available) {
  const int left = available.left() - screen.left();
  const int top = available.top() - screen.top();
  const int right = screen.right() - available.right();
  const int bottom = screen.bottom() - available.bottom();
  if (top > 0 && top >= bottom && top >= left && top >= right) return MenuCorner::kTopRight;
  if (left > 0 && left >= right && left >= bottom) return MenuCorner::kBottomLeft;
  if (right > 0 && right >= bottom) return MenuCorner::kBottomRight;
  return MenuCorner::kBottomRight;
}

}  // namespace vorlin
