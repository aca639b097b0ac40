#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>

#include "ui/color_palette.h"
#include "ui/control_timers.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

using testing::RecordingHandler;

class NotificationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseProgramSkin();
    window_ = LoadWindow(testing::TestLayout("controls.ui"));
    ASSERT_NE(window_, nullptr);
    NotifyBridge::Install(window_.get(), &handler_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    handler_.Clear();
  }
  template <typename T>
  T* Find(const char* name) {
    T* control = FindControl<T>(window_.get(), QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  std::unique_ptr<QWidget> window_;
  RecordingHandler handler_;
};

TEST_F(NotificationsTest, WindowInitComesOnceWhenFirstShown) {
  RecordingHandler handler;
  std::unique_ptr<QWidget> window = LoadWindow(testing::TestLayout("controls.ui"));
  NotifyBridge::Install(window.get(), &handler);
  window->show();
  window->hide();
  window->show();
  EXPECT_EQ(handler.Log({"windowinit"}), QStringList{"windowinit:root"});
}

TEST_F(NotificationsTest, ButtonClickAndTypesIgnoreCase) {
  QTest::mouseClick(Find<QAbstractButton>("plain_btn"), Qt::LeftButton);
  ASSERT_EQ(handler_.Log({"click"}), QStringList{"click:plain_btn"});
  const Notification& n = handler_.received.back();
  EXPECT_TRUE(n.Is(u"CLICK"));
  EXPECT_TRUE(n.Is(u"Click"));
  EXPECT_FALSE(n.Is(u"dbclick"));
}

TEST_F(NotificationsTest, OptionsNotifyUnlessToldNotTo) {
  auto* a = Find<QAbstractButton>("opt_a");
  auto* b = Find<QAbstractButton>("opt_b");
  a->click();
  EXPECT_EQ(handler_.Log({"selectchanged", "click"}),
            (QStringList{"selectchanged:opt_a", "click:opt_a"}));

  handler_.Clear();
  SetSelected(b, true);  // b selected, a loses its selection: both report
  EXPECT_EQ(handler_.Log({"selectchanged"}),
            (QStringList{"selectchanged:opt_a", "selectchanged:opt_b"}));
  EXPECT_FALSE(IsSelected(a));

  handler_.Clear();
  SetSelected(a, true, /*notify=*/false);
  EXPECT_TRUE(IsSelected(a));
  EXPECT_FALSE(IsSelected(b));
  EXPECT_TRUE(handler_.received.empty());
  EXPECT_EQ(OptionGroup(a), QStringLiteral("speed"));
}

TEST_F(NotificationsTest, SliderReportsUserChangesOnly) {
  auto* slider = Find<QSlider>("DPI_slider_1");
  slider->setValue(40);  // from code: silent
  EXPECT_TRUE(handler_.received.empty());

  slider->setFocus();
  handler_.Clear();
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_EQ(handler_.Log({"valuechanged", "movevaluechanged"}),
            QStringList{"valuechanged:DPI_slider_1"});
  EXPECT_EQ(slider->value(), 41);

  handler_.Clear();
  slider->setSliderDown(true);
  slider->setSliderPosition(70);
  slider->setSliderPosition(75);
  slider->setSliderDown(false);
  EXPECT_EQ(handler_.Log({"valuechanged", "movevaluechanged"}),
            (QStringList{"movevaluechanged:DPI_slider_1", "movevaluechanged:DPI_slider_1",
                         "valuechanged:DPI_slider_1"}));
  EXPECT_EQ(slider->value(), 75);
}

TEST_F(NotificationsTest, ComboSelectsWithOrWithoutNotification) {
  auto* combo = Find<QComboBox>("mode_combo");
  SelectItem(combo, 2);
  EXPECT_EQ(handler_.Log({"itemselect"}), QStringList{"itemselect:mode_combo"});
  handler_.Clear();
  SelectItem(combo, 1, /*notify=*/false);
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_TRUE(handler_.received.empty());
}

TEST_F(NotificationsTest, EditTextReturnAndFocus) {
  auto* edit = Find<QLineEdit>("DPI_edit_1");
  auto* other = Find<QAbstractButton>("plain_btn");
  other->setFocus();
  handler_.Clear();
  edit->setFocus();
  QTest::keyClicks(edit, "12");  // below the edit's minimum: Enter still reports
  QTest::keyClick(edit, Qt::Key_Return);
  other->setFocus();
  edit->setText(QStringLiteral("999"));  // from code: no textchanged
  EXPECT_EQ(handler_.Log({"setfocus", "textchanged", "return", "killfocus"}),
            (QStringList{"killfocus:plain_btn", "setfocus:DPI_edit_1", "textchanged:DPI_edit_1",
                         "textchanged:DPI_edit_1", "return:DPI_edit_1", "killfocus:DPI_edit_1",
                         "setfocus:plain_btn"}));
}

TEST_F(NotificationsTest, NumberEditLimits) {
  auto* edit = Find<QLineEdit>("DPI_edit_1");
  EXPECT_EQ(edit->maxLength(), 4);
  edit->setFocus();
  QTest::keyClicks(edit, "12a3456");  // letters refused, four characters at most
  EXPECT_EQ(edit->text(), QStringLiteral("1234"));
  struct Case {
    const char* text;
    int expected;
  };
  for (const Case& c : {Case{"1234", 1234}, Case{"50", 200}, Case{"9999", 6500}, Case{"", -1}}) {
    edit->setText(QString::fromLatin1(c.text));
    EXPECT_EQ(EditNumber(edit, -1), c.expected) << c.text;
  }
}

TEST_F(NotificationsTest, ListRowsAndSelection) {
  auto* list = Find<QListWidget>("macro_name_list");
  for (int i = 0; i < 3; ++i) {
    QWidget* row =
        AddListRowFromLayout(list, QStringLiteral("XML/CustomControlXML/DeviceOption.xml"));
    ASSERT_NE(row, nullptr);
  }
  ASSERT_EQ(list->count(), 3);
  QWidget* row1 = ListRow(list, 1);
  ASSERT_NE(row1, nullptr);
  EXPECT_EQ(ListRow(list, 3), nullptr);
  handler_.Clear();
  list->setCurrentRow(2);
  EXPECT_EQ(handler_.Log({"itemselect"}), QStringList{"itemselect:macro_name_list"});
  // A row's own controls report through the window too.
  handler_.Clear();
  auto* check = FindControl<QAbstractButton>(row1, QStringLiteral("synchro_device_select"));
  ASSERT_NE(check, nullptr);
  check->click();
  EXPECT_EQ(handler_.Log({"click"}), QStringList{"click:synchro_device_select"});
  EXPECT_EQ(check->parentWidget()->parentWidget(), row1->parentWidget());
}

TEST_F(NotificationsTest, TabsSelectInRange) {
  auto* tabs = Find<QStackedWidget>("device_switch");
  EXPECT_TRUE(SelectTab(tabs, 2));
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_FALSE(SelectTab(tabs, 3));
  EXPECT_FALSE(SelectTab(tabs, -1));
  EXPECT_EQ(tabs->currentIndex(), 2);
}

TEST_F(NotificationsTest, PalettePickRaisesColorChanged) {
  auto* palette = Find<ColorPalette>("deng_Color_Pallet");
  palette->SetColor(QColor(0, 0, 255));
  EXPECT_TRUE(handler_.received.empty());
  const QRect field = palette->FieldRect();
  // Near the field's top-left corner: hue about 0, saturation about full (QTest reads (0, 0) as
  // "the centre", so pick one pixel in).
  QTest::mouseClick(palette, Qt::LeftButton, {}, field.topLeft() + QPoint(1, 1));
  EXPECT_EQ(handler_.Log({"colorchanged"}), QStringList{"colorchanged:deng_Color_Pallet"});
  EXPECT_EQ(palette->Color().red(), 255);
  EXPECT_LE(palette->Color().green(), 8);
  EXPECT_LE(palette->Color().blue(), 8);
  QTest::mouseClick(palette, Qt::LeftButton, {}, palette->StripRect().bottomLeft());
  EXPECT_EQ(palette->Color(), QColor(0, 0, 0));
  // A drag that leaves the field keeps picking from its edge.
  QTest::mouseClick(palette, Qt::LeftButton, {}, palette->StripRect().topLeft() + QPoint(1, 1));
  const QPoint inside = field.center();
  QTest::mousePress(palette, Qt::LeftButton, {}, inside);
  QTest::mouseMove(palette, QPoint(field.right() + 3, field.bottom()));
  QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(field.right() + 3, field.bottom()));
  const QColor edge = palette->Color();  // bottom edge: no saturation, bright
  EXPECT_EQ(edge.red(), edge.green());
  EXPECT_EQ(edge.green(), edge.blue());
  EXPECT_GE(edge.red(), 250);
  EXPECT_GE(handler_.Log({"colorchanged"}).size(), 5);
}

TEST_F(NotificationsTest, TimersArriveWithTheirIdUntilKilled) {
  auto* button = Find<QWidget>("plain_btn");
  SetTimer(button, 7, 5);
  SetTimer(window_.get(), 1055, 5);
  EXPECT_TRUE(IsTimerActive(button, 7));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return handler_.Log({"timer"}).count("timer:plain_btn") >= 2; }, 2000));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return handler_.Log({"timer"}).contains("timer:root"); }, 2000));
  for (const Notification& n : handler_.received) {
    if (!n.Is(u"timer")) continue;
    EXPECT_EQ(n.timer_id, n.sender == button ? 7 : 1055);
  }
  KillTimer(button, 7);
  KillTimer(window_.get(), 1055);
  EXPECT_FALSE(IsTimerActive(button, 7));
  handler_.Clear();
  QTest::qWait(40);
  EXPECT_TRUE(handler_.received.empty());
}

TEST_F(NotificationsTest, TimerCanBeKilledFromItsOwnNotification) {
  struct KillingHandler : NotifyHandler {
    int count = 0;
    void Notify(const Notification& n) override {
      if (!n.Is(u"timer")) return;
      ++count;
      KillTimer(n.sender, n.timer_id);
    }
  } killer;
  NotifyBridge::Install(window_.get(), &killer);
  SetTimer(window_.get(), 1, 1);
  QTest::qWait(50);
  EXPECT_EQ(killer.count, 1);
}

TEST(NotifyBridgeTest, NearestBridgeReceives) {
  QWidget window;
  auto* dialog_root = new QWidget(&window);
  auto* inner = new QWidget(dialog_root);
  inner->setObjectName(QStringLiteral("inner"));
  RecordingHandler outer_handler, dialog_handler;
  NotifyBridge::Install(&window, &outer_handler);
  NotifyBridge::Install(dialog_root, &dialog_handler);
  SendNotification(inner, QStringLiteral("click"));
  EXPECT_EQ(dialog_handler.Log(), QStringList{"click:inner"});
  EXPECT_TRUE(outer_handler.received.empty());
  {
    NotificationBlocker quiet;
    SendNotification(inner, QStringLiteral("click"));
  }
  EXPECT_EQ(dialog_handler.received.size(), 1u);
  QWidget orphan;
  SendNotification(&orphan, QStringLiteral("click"));  // no bridge: nothing happens
}

}  // namespace
}  // namespace vorlin
