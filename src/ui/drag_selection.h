#pragma once

#include <QPoint>
#include <QRect>

namespace vorlin {

// The rectangle a drag spans, with the right and bottom edges exclusive: a drag from x 10 to
// x 30 covers columns 10..29. A drag along one axis only spans nothing.
struct SelectionRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const SelectionRect&) const = default;
};

SelectionRect SpanSelection(QPoint start, QPoint current);

// Whether the selection and a control's rectangle share at least one pixel. Rectangles that only
// touch along an edge do not.
bool SelectionHits(const SelectionRect& selection, const QRect& control);

}  // namespace vorlin
