#pragma once

// The main window draws its own frame, so the window manager gives it no edges to drag. Thin
// strips along its four sides and corners show the resize cursors and hand a press to the window
// system's own resize (QWindow::startSystemResize, as a drag on a real frame); where the platform
// cannot do that, the strip resizes the window itself. Never smaller than the minimum size; a
// maximised window has no edges.

#include <QWidget>

namespace vorlin {

class WindowEdge : public QWidget {
 public:
  WindowEdge(Qt::Edges edges, QWidget* window);

  Qt::Edges Edges() const { return edges_; }
  // Where the strip lies in a window of `size` (`thickness` pixels deep into it).
  static QRect Place(Qt::Edges edges, QSize size, int thickness);
  // The window's geometry after the pointer moved by `moved` from a press on `edges` with the
  // window at `start`, kept at least `minimum` in size (the opposite sides stay where they are).
  static QRect Resized(Qt::Edges edges, const QRect& start, QPoint moved, QSize minimum);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Qt::Edges edges_;
  bool dragging_ = false;
  QPoint press_;
  QRect start_;
};

// Adds the eight strips to `window` and keeps them along its sides.
void AddWindowEdges(QWidget* window);

}  // namespace vorlin
