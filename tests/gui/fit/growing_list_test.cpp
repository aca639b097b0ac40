// A panel with growing lists in the page's column: the lists take the column's height, shrink to
// their fewest rows, and only then does the column scroll; nothing else in the panel is ever
// squeezed, with or without a word-wrapped text (whose height follows the width) in it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

#include "fit_check.h"
#include "pages/device_function_area.h"
#include "ui/find_control.h"
#include "ui/growing_list.h"

namespace vorlin {
namespace {

class GrowingListTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    window_.resize(400, 300);
    auto* box = new QVBoxLayout(&window_);
    box->setContentsMargins(0, 0, 0, 0);
    area_ = new DeviceFunctionArea({}, 0, &window_);
    box->addWidget(area_);

    auto* panel = new QWidget;
    // Buttons whose style sheet minimum (padding and border) is below the height of their text,
    // as the skin gives the panels' buttons.
    panel->setStyleSheet(QStringLiteral("QPushButton { padding: 5px 12px; min-height: 0px; }"));
    auto* panel_box = new QVBoxLayout(panel);
    panel_box->setSpacing(6);
    if (GetParam()) {
      auto* hint =
          new QLabel(QStringLiteral("A text long enough to take several lines in the "
                                    "column, so that the panel's height follows its "
                                    "width as a word-wrapped text makes it do."));
      hint->setWordWrap(true);
      panel_box->addWidget(hint);
    }
    for (int i = 0; i < 2; ++i) {
      auto* list = new GrowingList;
      list->setMinimumHeight(90 + 30 * i);
      for (int row = 0; row < 40; ++row) list->addItem(QString::number(row));
      lists_.push_back(list);
      auto* button = new QPushButton(QStringLiteral("Button"));
      panel_box->addWidget(list);
      panel_box->addWidget(button);
    }
    area_->SetFunctionPage(1, panel);
    FindControl<QStackedWidget>(area_, QStringLiteral("device_function_switch"))
        ->setCurrentIndex(1);
    column_ = area_->findChild<QScrollArea*>();
    ASSERT_NE(column_, nullptr);
    panel_ = panel;
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  void ResizeTo(int height) {
    window_.resize(400, height);
    test::Settle(&window_);
  }
  // Every control but the lists has the height it asks for (a wrapped text: for its width), and
  // the fit check finds nothing cut off or overlapping.
  void ExpectOthersAtTheirHeight() {
    for (QWidget* child : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (qobject_cast<GrowingList*>(child)) continue;
      const int asked = child->hasHeightForWidth() ? child->heightForWidth(child->width())
                                                   : child->sizeHint().height();
      EXPECT_EQ(child->height(), asked) << child->metaObject()->className();
    }
    for (const test::FitFault& fault : test::FindFitFaults(panel_))
      ADD_FAILURE() << test::Describe(fault).toStdString();
  }

  QWidget window_;
  DeviceFunctionArea* area_ = nullptr;
  QScrollArea* column_ = nullptr;
  QWidget* panel_ = nullptr;
  std::vector<GrowingList*> lists_;
};

TEST_P(GrowingListTest, ListsTakeTheColumnsHeightAndOnlyTheirsChanges) {
  // Too low for the panel: the column scrolls, the lists show their fewest rows.
  ResizeTo(150);
  EXPECT_GT(column_->verticalScrollBar()->maximum(), 0);
  for (const GrowingList* list : lists_) EXPECT_EQ(list->height(), list->minimumHeight());
  ExpectOthersAtTheirHeight();
  const int smallest = panel_->height();

  // Taller than the panel at its smallest: no scrolling, the panel fills the column and the lists
  // take the extra room (the layout evens their heights out first, so both grow).
  ResizeTo(smallest + 200);
  EXPECT_EQ(column_->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(panel_->height(), column_->viewport()->height());
  EXPECT_GT(panel_->height(), smallest + 100);
  for (const GrowingList* list : lists_) EXPECT_GT(list->height(), list->minimumHeight());
  ExpectOthersAtTheirHeight();

  // And back: the lists give the room up again.
  ResizeTo(150);
  for (const GrowingList* list : lists_) EXPECT_EQ(list->height(), list->minimumHeight());
  EXPECT_EQ(panel_->height(), smallest);
}

INSTANTIATE_TEST_SUITE_P(Panels, GrowingListTest, ::testing::Bool(), [](const auto& info) {
  return info.param ? "WithWrappedText" : "WithoutWrappedText";
});

}  // namespace
}  // namespace vorlin
