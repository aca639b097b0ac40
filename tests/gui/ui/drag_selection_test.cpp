#include <gtest/gtest.h>

#include <QTest>

#include "ui/device_key_button.h"
#include "ui/drag_selection.h"
#include "ui/notify_bridge.h"
#include "ui/select_panel.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

using testing::RecordingHandler;

TEST(DragSelectionGeometryTest, SpanAndHits) {
  EXPECT_EQ(SpanSelection({30, 40}, {10, 5}), (SelectionRect{10, 5, 30, 40}));
  const QRect button(10, 10, 20, 20);  // covers columns and rows 10..29
  struct Case {
    const char* what;
    QPoint start, end;
    bool hit;
  };
  const Case cases[] = {
      {"covers the button", {0, 0}, {50, 50}, true},
      {"inside the button", {12, 12}, {14, 14}, true},
      {"overlaps one pixel", {29, 29}, {40, 40}, true},
      {"touches the right edge", {30, 0}, {50, 50}, false},
      {"touches the left edge", {0, 0}, {10, 50}, false},
      {"touches the bottom edge", {0, 30}, {50, 60}, false},
      {"touches the top edge", {0, 0}, {50, 10}, false},
      {"beside it", {40, 0}, {60, 60}, false},
      {"a line through it spans nothing", {20, 0}, {20, 50}, false},
      {"dragged backwards", {50, 50}, {25, 25}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectionHits(SpanSelection(c.start, c.end), button), c.hit) << c.what;
  }
}

// A panel with three keys in a row and a gap below them to start drags in.
class SelectPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.setObjectName(QStringLiteral("device_key_light"));
    panel_.resize(200, 120);
    for (int i = 0; i < 3; ++i) {
      keys_[i] = new CDeviceKeyButtonUI(&panel_);
      keys_[i]->setObjectName(QStringLiteral("key_%1").arg(i));
      keys_[i]->setGeometry(10 + i * 50, 10, 40, 40);  // x 10..49, 60..99, 110..149
    }
    NotifyBridge::Install(&panel_, &handler_);
    panel_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel_));
  }

  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(&panel_, Qt::LeftButton, {}, from);
    QTest::mouseMove(&panel_, (from + to) / 2);
    QTest::mouseMove(&panel_, to);
    QTest::mouseRelease(&panel_, Qt::LeftButton, {}, to);
  }
  std::vector<bool> Selected() const {
    return {keys_[0]->IsDragSelected(), keys_[1]->IsDragSelected(), keys_[2]->IsDragSelected()};
  }

  CSelectPanelUI panel_;
  CDeviceKeyButtonUI* keys_[3] = {};
  RecordingHandler handler_;
};

TEST_F(SelectPanelTest, DragSelectsOverlappedKeysAndNotifies) {
  Drag({5, 100}, {70, 30});
  EXPECT_EQ(Selected(), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(handler_.Log({"click_select_end"}), QStringList{"click_select_end:device_key_light"});
  EXPECT_FALSE(panel_.IsDragging());
}

TEST_F(SelectPanelTest, SecondDragReplacesTheFirst) {
  Drag({5, 100}, {70, 30});
  Drag({190, 100}, {120, 5});
  EXPECT_EQ(Selected(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(handler_.Log({"click_select_end"}).size(), 2);
}

TEST_F(SelectPanelTest, TouchingAnEdgeDoesNotSelect) {
  Drag({50, 100}, {60, 0});  // the gap between key 0 (ends at 49) and key 1 (starts at 60)
  EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false}));
}

TEST_F(SelectPanelTest, PressAndReleaseWithoutMoveChangesNothing) {
  Drag({5, 100}, {190, 5});
  handler_.Clear();
  QTest::mouseClick(&panel_, Qt::LeftButton, {}, {5, 100});
  EXPECT_EQ(Selected(), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(handler_.Log({"click_select_end"}).isEmpty());
}

TEST_F(SelectPanelTest, OnlyDirectKeyButtonChildrenAreSelected) {
  auto* holder = new QWidget(&panel_);
  holder->setGeometry(0, 60, 200, 40);
  auto* nested = new CDeviceKeyButtonUI(holder);
  nested->setGeometry(0, 0, 40, 40);
  Drag({190, 119}, {1, 1});  // QTest takes (0, 0) for "the centre"
  EXPECT_EQ(Selected(), (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(nested->IsDragSelected());
}

}  // namespace
}  // namespace vorlin
