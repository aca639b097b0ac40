// How the user reaches and leaves the secondary windows of the main window: the skin drop-down
// closes as a drop-down does, and the about window opens from the settings window.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include "app/main_window.h"
#include "app/settings_window.h"
#include "main_window_fixture.h"
#include "pages/device_page.h"
#include "ui/find_control.h"

namespace vorlin {
namespace {

class SecondaryWindowPathsTest : public test::MainWindowFixture {
 protected:
  static QWidget* SkinFrame() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == u"skinframe" && top->isVisible()) return top;
    }
    return nullptr;
  }
  // A click as the window system delivers it, so that an open pop-up sees it first.
  static void SystemClick(QWidget* control) {
    QWidget* top = control->window();
    ASSERT_NE(top->windowHandle(), nullptr);
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(top, control->rect().center()));
  }
};

TEST_F(SecondaryWindowPathsTest, TheSkinDropDownClosesAsADropDownDoes) {
  QWidget* main = window_->Window();
  main->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  QWidget* skin_button = FindControl(main, QStringLiteral("skinbtn"));
  QWidget* elsewhere = FindControl(main, QStringLiteral("setbtn"));
  ASSERT_NE(skin_button, nullptr);
  ASSERT_NE(elsewhere, nullptr);

  struct Case {
    const char* how;
    std::function<void(QWidget* frame)> close;
  };
  const Case cases[] = {
      {"Escape", [](QWidget* frame) { QTest::keyClick(frame, Qt::Key_Escape); }},
      {"a click outside", [elsewhere](QWidget*) { SystemClick(elsewhere); }},
      {"its own button", [skin_button](QWidget*) { SystemClick(skin_button); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    SystemClick(skin_button);
    QWidget* frame = SkinFrame();
    ASSERT_NE(frame, nullptr) << "the drop-down did not open";
    // Above its own window only, not above every other program's windows.
    EXPECT_FALSE(frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    c.close(frame);
    EXPECT_TRUE(QTest::qWaitFor([] { return SkinFrame() == nullptr; }, 1000));
  }
  // The click outside closed the drop-down and did nothing else: no settings window opened.
  EXPECT_TRUE(window_->SettingsWindow() == nullptr ||
              !window_->SettingsWindow()->Window()->isVisible());
}

TEST_F(SecondaryWindowPathsTest, TheAboutWindowOpensFromTheSettingsWindow) {
  window_->OnMenuChoice(QStringLiteral("setwnd_menu"));
  CSetWnd* settings = window_->SettingsWindow();
  ASSERT_NE(settings, nullptr);
  auto* about_button =
      FindControl<QAbstractButton>(settings->Window(), QStringLiteral("setwnd_about_btn"));
  ASSERT_NE(about_button, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(settings->Window()));
  EXPECT_TRUE(about_button->isVisible());

  QString opened;
  bool version_shown = false;
  QTimer::singleShot(0, about_button, [about_button] { about_button->click(); });
  QTimer watcher;
  watcher.setInterval(10);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal->objectName() != u"aboutwnd") return;
    watcher.stop();
    opened = modal->objectName();
    auto* version = FindControl(modal, QStringLiteral("software_ver_label"));
    version_shown = version && version->isVisible();
    FindControl<QAbstractButton>(modal, QStringLiteral("closebtn"))->click();
  });
  watcher.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 5000));
  EXPECT_EQ(opened, QStringLiteral("aboutwnd"));
  EXPECT_TRUE(version_shown);
  // Closing it goes back to the settings window, still open.
  EXPECT_TRUE(QTest::qWaitFor(
      [] {
        return QApplication::activeModalWidget() == nullptr ||
               QApplication::activeModalWidget()->objectName() != u"aboutwnd";
      },
      1000));
  EXPECT_TRUE(settings->Window()->isVisible());
}

// The status bar's battery: shown for the device that reports one, not as an empty bar and "-" for
// the devices that have none.
TEST_F(SecondaryWindowPathsTest, TheBatteryShowsOnlyForADeviceThatReportsOne) {
  emulator_.Mouse().SetBattery(72, 2);
  ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  struct Case {
    const char* page;
    bool battery;
  };
  for (const Case& c :
       {Case{"mouse", true}, Case{"keyboard", false}, Case{"MousePad", false}, Case{"HD", false}}) {
    SCOPED_TRACE(c.page);
    DevicePage* page = PageOf(c.page);
    ASSERT_NE(page, nullptr);
    QWidget* panel = page->PowerPanel();
    ASSERT_NE(panel, nullptr);
    if (c.battery) {
      auto* value = FindControl<QLabel>(panel, QStringLiteral("device_power_value"));
      ASSERT_NE(value, nullptr);
      ASSERT_TRUE(QTest::qWaitFor([value] { return value->text() == u"72%"; }, 5000));
    }
    for (const char* name :
         {"device_power_status", "device_Power_progress", "device_power_value"}) {
      QWidget* control = FindControl(panel, QString::fromLatin1(name));
      ASSERT_NE(control, nullptr) << name;
      EXPECT_EQ(control->isVisibleTo(panel), c.battery) << name;
    }
  }
}

}  // namespace
}  // namespace vorlin
