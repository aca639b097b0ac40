// The wheel changes a combo box or slider only while it has the focus; otherwise the page around
// it scrolls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <memory>

#include "ui/wheel_guard.h"

namespace vorlin {
namespace {

class WheelGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    guard_ = std::make_unique<WheelGuard>(qApp);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    combo_ = new QComboBox;
    combo_->addItems({"Steady", "Breathing", "Spectrum"});
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setRange(0, 10);
    layout->addWidget(combo_);
    layout->addWidget(slider_);
    layout->addSpacing(3000);  // a page taller than its view
    area_.setWidget(content);
    area_.resize(300, 200);
    area_.show();
    QApplication::processEvents();
  }

  // One notch down over `control`.
  static void Notch(QWidget* control) {
    const QPointF at(5, 5);
    QWheelEvent wheel(at, control->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
  }

  std::unique_ptr<WheelGuard> guard_;
  QScrollArea area_;
  QComboBox* combo_ = nullptr;
  QSlider* slider_ = nullptr;
};

TEST_F(WheelGuardTest, AnUnfocusedControlKeepsItsValueAndThePageScrolls) {
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  for (QWidget* control : {static_cast<QWidget*>(combo_), static_cast<QWidget*>(slider_)}) {
    const int scrolled = area_.verticalScrollBar()->value();
    Notch(control);
    EXPECT_GT(area_.verticalScrollBar()->value(), scrolled) << control->metaObject()->className();
  }
  EXPECT_EQ(combo_->currentIndex(), 0);
  EXPECT_EQ(slider_->value(), 0);
  // The wheel alone gives neither the focus.
  EXPECT_NE(combo_->focusPolicy(), Qt::WheelFocus);
  EXPECT_NE(slider_->focusPolicy(), Qt::WheelFocus);
}

TEST_F(WheelGuardTest, AFocusedControlTakesTheWheel) {
  area_.activateWindow();
  combo_->setFocus();
  ASSERT_TRUE(combo_->hasFocus());
  const int scrolled = area_.verticalScrollBar()->value();
  Notch(combo_);
  EXPECT_EQ(combo_->currentIndex(), 1);
  EXPECT_EQ(area_.verticalScrollBar()->value(), scrolled);
}

TEST_F(WheelGuardTest, TheScrollBarsKeepScrolling) {
  EXPECT_FALSE(WheelGuard::TakesWheel(area_.verticalScrollBar()));
  Notch(area_.verticalScrollBar());
  EXPECT_GT(area_.verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace vorlin
