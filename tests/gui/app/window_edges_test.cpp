// The frameless window's edges: each strip lies on its side, and dragging one resizes the window
// from that side, never below its minimum size.
#include "app/window_edges.h"

#include <gtest/gtest.h>

#include <QTest>

namespace vorlin {
namespace {

TEST(WindowEdges, DraggingASideOrCornerResizesFromItAndKeepsTheMinimum) {
  const QRect start(100, 100, 1000, 640);
  const QSize minimum(900, 600);
  const struct {
    Qt::Edges edges;
    QPoint moved;
    QRect expected;
  } cases[] = {
      {Qt::RightEdge | Qt::BottomEdge, {200, 100}, {100, 100, 1200, 740}},
      {Qt::LeftEdge, {-50, 30}, {50, 100, 1050, 640}},
      {Qt::TopEdge, {0, -40}, {100, 60, 1000, 680}},
      {Qt::LeftEdge | Qt::TopEdge, {500, 500}, {200, 140, 900, 600}},  // stops at the minimum
      {Qt::BottomEdge, {300, -300}, {100, 100, 1000, 600}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.edges));
    EXPECT_EQ(WindowEdge::Resized(c.edges, start, c.moved, minimum), c.expected);
  }
}

TEST(WindowEdges, StripsLieOnTheirSidesAndFollowTheWindow) {
  QWidget window;
  window.setMinimumSize(300, 200);
  window.resize(400, 300);
  AddWindowEdges(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QList<WindowEdge*> edges = window.findChildren<WindowEdge*>();
  ASSERT_EQ(edges.size(), 8);
  for (WindowEdge* edge : edges) {
    const QRect r = edge->geometry();
    SCOPED_TRACE(static_cast<int>(edge->Edges()));
    EXPECT_TRUE(window.rect().contains(r));
    if (edge->Edges() & Qt::LeftEdge) EXPECT_EQ(r.left(), 0);
    if (edge->Edges() & Qt::RightEdge) EXPECT_EQ(r.right(), 399);
    if (edge->Edges() & Qt::TopEdge) EXPECT_EQ(r.top(), 0);
    if (edge->Edges() & Qt::BottomEdge) EXPECT_EQ(r.bottom(), 299);
  }
  window.resize(600, 500);
  for (WindowEdge* edge : edges) {
    if (edge->Edges() == Qt::RightEdge) EXPECT_EQ(edge->geometry().right(), 599);
  }
  // Where the window system cannot resize for it, the corner follows the pointer itself.
  WindowEdge* corner = nullptr;
  for (WindowEdge* edge : edges) {
    if (edge->Edges() == (Qt::RightEdge | Qt::BottomEdge)) corner = edge;
  }
  ASSERT_NE(corner, nullptr);
  const QPoint inside = corner->rect().center();
  QTest::mousePress(corner, Qt::LeftButton, {}, inside);
  QTest::mouseMove(corner, inside + QPoint(40, 30));
  QTest::mouseRelease(corner, Qt::LeftButton, {}, inside + QPoint(40, 30));
  EXPECT_EQ(window.size(), QSize(640, 530));
  window.showMaximized();
  QTest::qWait(50);
  for (WindowEdge* edge : edges) EXPECT_FALSE(edge->isVisible());
}

}  // namespace
}  // namespace vorlin
