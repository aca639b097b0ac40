#pragma once

#include <QPoint>
#include <QWidget>

#include "ui/drag_selection.h"

namespace vorlin {

// The panel that holds a device picture. Dragging over it with the left button (starting on the
// panel, not on a key) selects the key buttons the dragged rectangle overlaps: at the release each
// direct child key button gets drag-selected set or cleared, and the panel raises
// "click_select_end". A press and release without a move in between selects nothing. The panel
// draws nothing of its own.
class CSelectPanelUI : public QWidget {
  Q_OBJECT

 public:
  explicit CSelectPanelUI(QWidget* parent = nullptr);

  bool IsDragging() const { return dragging_; }
  const SelectionRect& Selection() const { return selection_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void EndDrag();

  bool pressed_ = false;
  bool dragging_ = false;
  QPoint start_;
  QPoint current_;
  SelectionRect selection_;
};

}  // namespace vorlin
