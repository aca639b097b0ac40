// The function area of a device page: which tabs it offers as panels arrive, and which pages a
// view shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QStackedWidget>

#include "pages/device_function_area.h"
#include "ui/find_control.h"

namespace vorlin {
namespace {

QWidget* Panel(const char* name) {
  auto* panel = new QLabel(QString::fromLatin1(name));
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

std::vector<QString> ShownTabs(const DeviceFunctionArea& area) {
  std::vector<QString> shown;
  auto* strip = FindControl<QWidget>(const_cast<DeviceFunctionArea*>(&area),
                                     QStringLiteral("device_function_tabs"));
  if (!strip || strip->isHidden()) return shown;
  for (QAbstractButton* tab : strip->findChildren<QAbstractButton*>()) {
    if (!tab->isHidden()) shown.push_back(tab->objectName());
  }
  return shown;
}

// The panel a stack shows, through its scroll area.
QString Current(const QStackedWidget* stack) {
  const QWidget* page = stack->currentWidget();
  const QWidget* panel = page ? page->findChild<QLabel*>() : nullptr;
  return panel ? panel->objectName() : QString();
}

TEST(DeviceFunctionAreaTest, TabsAppearWithTheirPanelsAndASingleTabShowsNoStrip) {
  DeviceFunctionArea area(FunctionTabsOf(DeviceFamily::kMouse), 2);
  area.SetKeyPage(0, Panel("lighting"));
  EXPECT_TRUE(ShownTabs(area).empty());
  EXPECT_TRUE(area.HasView(kLightingView));
  EXPECT_FALSE(area.HasView(kKeysView));

  area.SetKeyPage(1, Panel("keys"));
  area.SetFunctionPage(3, Panel("settings"));  // pages 1 and 2 stay empty
  EXPECT_EQ(ShownTabs(area),
            (std::vector<QString>{"deng_Op_tab", "key_Op_tab", "system_Op_tab"}));
  EXPECT_FALSE(area.HasView(kMacrosView));
  EXPECT_FALSE(area.HasView(kPointerView));
}

TEST(DeviceFunctionAreaTest, AViewShowsItsPagesAndChecksItsTab) {
  DeviceFunctionArea area(FunctionTabsOf(DeviceFamily::kMouse), 2);
  area.SetKeyPage(0, Panel("lighting"));
  area.SetKeyPage(1, Panel("keys"));
  area.SetFunctionPage(2, Panel("pointer"));
  area.SetFunctionPage(3, Panel("settings"));
  area.SetFunctionPage(4, Panel("recoil"));

  struct Case {
    int view;
    int function_page;
    const char* shown;
    const char* tab;
  };
  for (const Case& c : {Case{kKeysView, 0, "keys", "key_Op_tab"},
                        Case{kSettingsView, 3, "settings", "system_Op_tab"},
                        Case{kPointerView, 2, "pointer", "cursor_Op_tab"},
                        Case{kRecoilView, 4, "recoil", "shoot_Op_tab"},
                        Case{kLightingView, 0, "lighting", "deng_Op_tab"}}) {
    SCOPED_TRACE(c.view);
    area.ShowView(c.view);
    EXPECT_EQ(area.FunctionPages()->currentIndex(), c.function_page);
    const QStackedWidget* shown =
        c.function_page == 0 ? area.KeyPages() : area.FunctionPages();
    EXPECT_EQ(Current(shown), QString::fromLatin1(c.shown));
    auto* tab = FindControl<QAbstractButton>(&area, QString::fromLatin1(c.tab));
    ASSERT_NE(tab, nullptr);
    EXPECT_TRUE(tab->isChecked());
    EXPECT_EQ(area.ViewOfTab(tab->objectName()), c.view);
  }
  EXPECT_EQ(area.ViewOfTab(QStringLiteral("magic_Op_tab")), -1);
}

TEST(DeviceFunctionAreaTest, APanelPutTwiceReplacesTheFirst) {
  DeviceFunctionArea area(FunctionTabsOf(DeviceFamily::kKeyboard), 1);
  area.SetKeyPage(0, Panel("first"));
  area.SetKeyPage(0, Panel("second"));
  EXPECT_EQ(area.KeyPages()->count(), 1);
  area.ShowView(kLightingView);
  EXPECT_EQ(Current(area.KeyPages()), QStringLiteral("second"));
  EXPECT_EQ(area.findChild<QLabel*>(QStringLiteral("first")), nullptr);
}

}  // namespace
}  // namespace vorlin
