#include "ui/drag_selection.h"

#include <algorithm>

namespace vorlin {

SelectionRect SpanSelection(QPoint start, QPoint current) {
  return {std::min(start.x(), current.x()), std::min(start.y(), current.y()),
          std::max(start.x(), current.x()), std::max(start.y(), current.y())};
}

bool SelectionHits(const SelectionRect& selection, const QRect& control) {
  if (selection.IsEmpty() || control.isEmpty()) return false;
  const int control_right = control.x() + control.width();
  const int control_bottom = control.y() + control.height();
  return std::max(selection.left, control.x()) < std::min(selection.right, control_right) &&
         std::max(selection.top, control.y()) < std::min(selection.bottom, control_bottom);
}

}  // namespace vorlin
