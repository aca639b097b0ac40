#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

#include "ui/color_palette.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/menu_builder.h"
#include "ui/select_panel.h"
#include "ui/skin_manager.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

using testing::TestLayout;

class LayoutLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseProgramSkin(); }
};

TEST_F(LayoutLoaderTest, DevicePictureBuildsCustomControlsWithTheirAttributes) {
  // Backslashes as the layout names are written elsewhere in the program.
  std::unique_ptr<QWidget> page = LoadWindow(QStringLiteral("XML\\DeviceXml\\mousedevice.xml"));
  ASSERT_NE(page, nullptr);
  auto* panel = FindControl<CSelectPanelUI>(page.get(), QStringLiteral("mouse_device_key_light"));
  ASSERT_NE(panel, nullptr);
  for (int i = 0; i < 6; ++i) {
    auto* key = FindControl<CDeviceKeyButtonUI>(panel, QStringLiteral("key_%1").arg(i));
    ASSERT_NE(key, nullptr) << i;
    EXPECT_EQ(key->parentWidget(), panel);
    EXPECT_EQ(key->LightImage(), QStringLiteral("images/device/light_key.svg"));
    EXPECT_EQ(key->KeySetImage(), QStringLiteral("images/device/key_set.svg"));
    EXPECT_EQ(key->KeyUnsetImage(), QStringLiteral("images/device/key_unset.svg"));
    EXPECT_FALSE(SkinManager::Instance().Image(key->LightImage()).isNull());
  }
  EXPECT_EQ(FindControl(page.get(), QStringLiteral("key_0"))->geometry(), QRect(30, 40, 60, 80));
  auto* picture = FindControl<QLabel>(page.get(), QStringLiteral("mouse_device_picture"));
  ASSERT_NE(picture, nullptr);
  EXPECT_FALSE(picture->pixmap().isNull());  // pixmaps resolve against the skin folder
}

TEST_F(LayoutLoaderTest, FindControlInWindowOrBelowAControl) {
  std::unique_ptr<QWidget> window = LoadWindow(TestLayout("controls.ui"));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindControl(window.get(), QStringLiteral("root")), window.get());
  QWidget* tabs = FindControl(window.get(), QStringLiteral("device_switch"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_NE(FindControl(tabs, QStringLiteral("page_1")), nullptr);
  EXPECT_EQ(FindControl(tabs, QStringLiteral("plain_btn")), nullptr);  // not below the tabs
  EXPECT_EQ(FindControl(window.get(), QStringLiteral("no_such_control")), nullptr);
  EXPECT_EQ(FindControl(nullptr, QStringLiteral("root")), nullptr);
  EXPECT_EQ(FindControl<QListWidget>(window.get(), QStringLiteral("plain_btn")), nullptr);
  EXPECT_NE(FindControl<ColorPalette>(window.get(), QStringLiteral("deng_Color_Pallet")), nullptr);
}

TEST_F(LayoutLoaderTest, AMissingBitmapIsServedByTheSkinsDrawingOfTheSameName) {
  // The skin ships "power/powered.svg" only.
  const QImage drawing =
      SkinManager::Instance().Image(QStringLiteral("file='power/powered.png'"), QSize(36, 36));
  EXPECT_EQ(drawing.size(), QSize(36, 36));
  EXPECT_TRUE(SkinManager::Instance().Image(QStringLiteral("file='power/nothing.png'")).isNull());
}

TEST_F(LayoutLoaderTest, MissingLayoutIsReportedNotFatal) {
  EXPECT_EQ(LoadWindow(QStringLiteral("XML/no_such_layout.xml")), nullptr);
  QWidget container;
  EXPECT_EQ(AttachSubLayout(&container, QStringLiteral("XML/none.xml")), nullptr);
  EXPECT_EQ(BuildMenuFromLayout(QStringLiteral("XML/Menus/none.xml")), nullptr);
}

TEST_F(LayoutLoaderTest, IndexAliasesNameLayouts) {
  std::unique_ptr<QWidget> box = LoadWindow(QStringLiteral("XML_MSG"));
  ASSERT_NE(box, nullptr);
  EXPECT_NE(FindControl<QPushButton>(box.get(), QStringLiteral("confirm_btn")), nullptr);
  EXPECT_NE(FindControl<QPushButton>(box.get(), QStringLiteral("cancel_btn")), nullptr);
}

TEST_F(LayoutLoaderTest, SubLayoutTagsBuildTheirTreesAndUnknownTagsStillLoad) {
  ControlFactory::Instance().RegisterSubLayout(
      QStringLiteral("DeviceOptionUI"), QStringLiteral("XML/CustomControlXML/DeviceOption.xml"));
  ControlFactory::Instance().RegisterSubLayout(QStringLiteral("MissingPanelUI"),
                                               QStringLiteral("XML/none.xml"));
  std::unique_ptr<QWidget> window = LoadWindow(TestLayout("nested.ui"));
  ASSERT_NE(window, nullptr);
  for (const char* name : {"first_option", "second_option"}) {
    QWidget* option = FindControl(window.get(), QString::fromLatin1(name));
    ASSERT_NE(option, nullptr) << name;
    EXPECT_NE(FindControl<QPushButton>(option, QStringLiteral("device_select")), nullptr) << name;
  }
  EXPECT_NE(FindControl(window.get(), QStringLiteral("mystery")), nullptr);
  EXPECT_NE(FindControl(window.get(), QStringLiteral("missing_panel")), nullptr);
}

TEST_F(LayoutLoaderTest, SelfReferringSubLayoutStops) {
  ControlFactory::Instance().RegisterSubLayout(QStringLiteral("SelfPanelUI"),
                                               TestLayout("recursive.ui"));
  std::unique_ptr<QWidget> window = LoadWindow(TestLayout("recursive.ui"));
  ASSERT_NE(window, nullptr);
  // Each level nests one more "inner"; the loader stops after a bounded depth.
  const auto inner = window->findChildren<QWidget*>(QStringLiteral("inner"));
  EXPECT_GT(inner.size(), 1);
  EXPECT_LE(window->findChildren<QWidget*>(QStringLiteral("inner")).size(), 17);
}

TEST_F(LayoutLoaderTest, RegisteredClassesAreCreatedByAnyOfTheirNames) {
  struct Marker : QLabel {
    using QLabel::QLabel;
  };
  ControlFactory::Instance().Register<Marker>(
      {QStringLiteral("Marker"), QStringLiteral("CMarkerUI")});
  for (const char* name : {"Marker", "cmarkerui", "MARKER"}) {
    std::unique_ptr<QWidget> w(
        ControlFactory::Instance().Create(QString::fromLatin1(name), nullptr));
    EXPECT_NE(dynamic_cast<Marker*>(w.get()), nullptr) << name;
  }
  EXPECT_EQ(ControlFactory::Instance().Create(QStringLiteral("Unregistered"), nullptr), nullptr);
  std::unique_ptr<QWidget> key(
      ControlFactory::Instance().Create(QStringLiteral("CDeviceKeyButtonUI"), nullptr));
  EXPECT_NE(qobject_cast<CDeviceKeyButtonUI*>(key.get()), nullptr);
}

TEST_F(LayoutLoaderTest, AttachedSubLayoutJoinsTheWindowsOptionGroups) {
  QWidget window;
  auto* strip = new QWidget(&window);
  QWidget* first = AttachSubLayout(strip, QStringLiteral("XML/CustomControlXML/DeviceOption.xml"));
  QWidget* second = AttachSubLayout(strip, QStringLiteral("XML/CustomControlXML/DeviceOption.xml"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(strip->layout()->count(), 2);
  auto* a = FindControl<QAbstractButton>(first, QStringLiteral("device_select"));
  auto* b = FindControl<QAbstractButton>(second, QStringLiteral("device_select"));
  ASSERT_TRUE(a && b);
  ASSERT_NE(a->group(), nullptr);
  EXPECT_EQ(a->group(), b->group());
  SetSelected(a, true);
  SetSelected(b, true);
  EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(b->isChecked());
}

TEST_F(LayoutLoaderTest, MenuFromLayoutKeepsOrderNamesAndSeparators) {
  std::unique_ptr<QMenu> menu = BuildMenuFromLayout(QStringLiteral("XML_MENU"));
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* action : menu->actions())
    names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
  EXPECT_EQ(names, (QStringList{"setwnd_menu", "about_menu", "|", "exit"}));
  const MenuChoice exit = ChoiceOf(menu->actions().last());
  EXPECT_EQ(exit.name, QStringLiteral("exit"));
  EXPECT_EQ(exit.user_data, QStringLiteral("quit"));
  EXPECT_FALSE(exit.text.isEmpty());
  EXPECT_EQ(ChoiceOf(nullptr).name, QString());
}

TEST(MenuOriginTest, CornerTouchesTheAnchor) {
  const QSize size(100, 50);
  EXPECT_EQ(MenuOrigin({500, 400}, size, MenuCorner::kTopLeft), QPoint(500, 400));
  EXPECT_EQ(MenuOrigin({500, 400}, size, MenuCorner::kTopRight), QPoint(400, 400));
  EXPECT_EQ(MenuOrigin({500, 400}, size, MenuCorner::kBottomLeft), QPoint(500, 350));
  EXPECT_EQ(MenuOrigin({500, 400}, size, MenuCorner::kBottomRight), QPoint(400, 350));
}

}  // namespace
}  // namespace vorlin
