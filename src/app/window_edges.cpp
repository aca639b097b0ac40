#include "app/window_edges.h"

#include <algorithm>
#include <array>

#include <QEvent>
#include <QMouseEvent>
#include <QWindow>

namespace vorlin {

namespace {

constexpr int kThickness = 5;  // pixels of the window's own edge that resize it
constexpr int kCorner = 10;    // how far a corner's strip reaches along each side

Qt::CursorShape CursorFor(Qt::Edges edges) {
  const bool left = edges & Qt::LeftEdge;
  const bool right = edges & Qt::RightEdge;
  const bool top = edges & Qt::TopEdge;
  const bool bottom = edges & Qt::BottomEdge;
  if ((left && top) || (right && bottom)) return Qt::SizeFDiagCursor;
  if ((right && top) || (left && bottom)) return Qt::SizeBDiagCursor;
  return left || right ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

// Keeps the strips along the window's sides, above its contents, and hides them while the
// window is maximised or full screen.
class EdgeKeeper : public QObject {
 public:
  EdgeKeeper(QWidget* window, std::array<WindowEdge*, 8> edges)
      : QObject(window), window_(window), edges_(edges) {
    window_->installEventFilter(this);
    Place();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange ||
         event->type() == QEvent::Show || event->type() == QEvent::ChildAdded)) {
      Place();
    }
    return false;
  }

 private:
  void Place() {
    const bool resizable = !(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    for (WindowEdge* edge : edges_) {
      edge->setGeometry(WindowEdge::Place(edge->Edges(), window_->size(), kThickness));
      edge->setVisible(resizable);
      edge->raise();
    }
  }

  QWidget* window_;
  std::array<WindowEdge*, 8> edges_;
};

}  // namespace

WindowEdge::WindowEdge(Qt::Edges edges, QWidget* window) : QWidget(window), edges_(edges) {
  setObjectName(QStringLiteral("window_edge"));
  setCursor(CursorFor(edges));
  setAttribute(Qt::WA_NoSystemBackground);
  setProperty("plain", true);
  setProperty("overlay", true);  // lies over the window's contents by design
}

QRect WindowEdge::Place(Qt::Edges edges, QSize size, int thickness) {
  const int w = size.width();
  const int h = size.height();
  const bool left = edges & Qt::LeftEdge;
  const bool right = edges & Qt::RightEdge;
  const bool top = edges & Qt::TopEdge;
  const bool bottom = edges & Qt::BottomEdge;
  const int reach = std::max(kCorner, thickness);
  if ((left || right) && (top || bottom)) {  // a corner
    return QRect(left ? 0 : w - reach, top ? 0 : h - reach, reach, reach);
  }
  if (left) return QRect(0, reach, thickness, h - 2 * reach);
  if (right) return QRect(w - thickness, reach, thickness, h - 2 * reach);
  if (top) return QRect(reach, 0, w - 2 * reach, thickness);
  return QRect(reach, h - thickness, w - 2 * reach, thickness);
}

QRect WindowEdge::Resized(Qt::Edges edges, const QRect& start, QPoint moved, QSize minimum) {
  QRect r = start;
  if (edges & Qt::LeftEdge) r.setLeft(std::min(start.left() + moved.x(), start.right() + 1 - minimum.width()));
  if (edges & Qt::RightEdge) r.setRight(std::max(start.right() + moved.x(), start.left() + minimum.width() - 1));
  if (edges & Qt::TopEdge) r.setTop(std::min(start.top() + moved.y(), start.bottom() + 1 - minimum.height()));
  if (edges & Qt::BottomEdge) r.setBottom(std::max(start.bottom() + moved.y(), start.top() + minimum.height() - 1));
  return r;
}

void WindowEdge::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  QWindow* handle = window()->windowHandle();
  if (handle && handle->startSystemResize(edges_)) return;
  // The platform cannot resize for us: follow the pointer.
  dragging_ = true;
  press_ = event->globalPosition().toPoint();
  start_ = window()->geometry();
}

void WindowEdge::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  QWidget* top = window();
  top->setGeometry(
      Resized(edges_, start_, event->globalPosition().toPoint() - press_, top->minimumSize()));
}

void WindowEdge::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

void AddWindowEdges(QWidget* window) {
  if (!window) return;
  const std::array<Qt::Edges, 8> all = {Qt::LeftEdge,
                                        Qt::RightEdge,
                                        Qt::TopEdge,
                                        Qt::BottomEdge,
                                        Qt::LeftEdge | Qt::TopEdge,
                                        Qt::RightEdge | Qt::TopEdge,
                                        Qt::LeftEdge | Qt::BottomEdge,
                                        Qt::RightEdge | Qt::BottomEdge};
  std::array<WindowEdge*, 8> edges{};
  for (size_t i = 0; i < all.size(); ++i) edges[i] = new WindowEdge(all[i], window);
  new EdgeKeeper(window, edges);  // owned by the window
}

}  // namespace vorlin
