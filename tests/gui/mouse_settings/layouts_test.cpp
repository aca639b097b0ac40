// The panel's layouts: every control the panel looks for is there with the class it needs, every
// text key has a text in both languages, and the key information list's rows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>

#include "gui/mouse_settings/mouse_settings_test_support.h"
#include "mouse_settings/key_info_list.h"
#include "mouse_settings/stage_colour_button.h"
#include "support/layout_text_keys.h"
#include "ui/controls.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

class MouseSettingsLayoutTest : public testing::MouseSettingsFixture {};

TEST_F(MouseSettingsLayoutTest, EveryControlIsThereWithItsClass) {
  auto* tabs = Control<QStackedWidget>("mouse_device_seting_layout");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 2);
  QWidget* selector = Control("mouse_option_layout");
  ASSERT_NE(selector, nullptr);
  for (int n = 0; n < tabs->count(); ++n) {
    auto* option = Row<QPushButton>("mouse_device_seting_option_", n);
    ASSERT_NE(option, nullptr) << n;
    EXPECT_TRUE(selector->isAncestorOf(option));
    EXPECT_TRUE(option->isCheckable());
    EXPECT_EQ(option->property("role").toString(), "lightsegment");
  }
  for (int i = 0; i < kDpiStageRows; ++i) {
    QWidget* row = Row("DPI_layout_", i);
    ASSERT_NE(row, nullptr) << i;
    EXPECT_TRUE(tabs->widget(0)->isAncestorOf(row));
    // The enable option stays outside the part of the row that a switched-off stage disables.
    auto* enable = Row<QAbstractButton>("DPI_enable_check_", i);
    ASSERT_NE(enable, nullptr) << i;
    EXPECT_TRUE(enable->isCheckable());
    EXPECT_FALSE(row->isAncestorOf(enable)) << i;
    auto* select = Row<QAbstractButton>("DPI_select_check_", i);
    ASSERT_NE(select, nullptr) << i;
    EXPECT_TRUE(select->isCheckable());
    EXPECT_TRUE(row->isAncestorOf(select));
    auto* slider = Row<QSlider>("DPI_slider_", i);
    ASSERT_NE(slider, nullptr) << i;
    EXPECT_EQ(slider->minimum(), 100);
    EXPECT_EQ(slider->maximum(), 26000);
    EXPECT_NE(Row<QLineEdit>("DPI_edit_", i), nullptr) << i;
    EXPECT_NE(Row<StageColourButton>("DPI_color_option_", i), nullptr) << i;
  }
  for (int n = 0; n < MouseSettingsPanel::kPollingRateOptions; ++n) {
    auto* option = Row<QPushButton>("polling_rate_option_", n);
    ASSERT_NE(option, nullptr) << n;
    EXPECT_TRUE(option->isCheckable());
    EXPECT_TRUE(tabs->widget(1)->isAncestorOf(option));
  }
  for (int n = 0; n < MouseSettingsPanel::kSensorLiftOptions; ++n)
    EXPECT_NE(Row<QPushButton>("sensor_lif_option_", n), nullptr) << n;
  for (const char* name : {"rippleControl_option", "linearCalibration_option", "motionSyn_option",
                           "pointer_precision_check", "scrolls_page_check"}) {
    auto* option = Control<QAbstractButton>(name);
    ASSERT_NE(option, nullptr) << name;
    EXPECT_TRUE(option->isCheckable()) << name;
  }
  for (const char* name : {"Dormancy_combo_timeSelect", "Key_Delay_combo_timeSelect",
                           "Anti_Shake_combo_timeSelect", "Silent_Altitude_Select"})
    EXPECT_NE(Control<QComboBox>(name), nullptr) << name;
  for (const char* name : {"pointer_speed_slider", "scroll_speed_slider", "double_click_slider"})
    EXPECT_NE(Control<QSlider>(name), nullptr) << name;
  for (const char* name : {"pointer_speed_value", "scroll_speed_value", "double_click_value"})
    EXPECT_NE(Control(name), nullptr) << name;
  EXPECT_NE(Control<KeyInfoList>("device_setkeyinfo_list"), nullptr);
}

TEST_F(MouseSettingsLayoutTest, EveryTextKeyIsInBothLanguages) {
  QSet<QString> keys;
  for (const char* layout : {MouseSettingsPanel::kSettingsLayout, MouseSettingsPanel::kPointerLayout,
                             MouseSettingsPanel::kKeyInfoLayout}) {
    const std::optional<QSet<QString>> found =
        test::LayoutTextKeys(testing::SkinFolder() + u'/' + QLatin1String(layout));
    ASSERT_TRUE(found.has_value()) << layout;
    keys += *found;
  }
  EXPECT_TRUE(keys.contains(QStringLiteral("mouse_set_polling_rate_4")));
  EXPECT_TRUE(keys.contains(QStringLiteral("mouse_set_level_high_text")));  // a list item
  ASSERT_GT(keys.size(), 40);
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing = test::KeysWithoutText(
        testing::SkinFolder() + u'/' + QLatin1String(language), keys);
    ASSERT_TRUE(missing.has_value()) << language;
    EXPECT_TRUE(missing->isEmpty()) << language << " lacks " << missing->join(' ').toStdString();
  }
}

TEST_F(MouseSettingsLayoutTest, KeyInfoRowsFollowTheButtons) {
  auto* list = Control<KeyInfoList>("device_setkeyinfo_list");
  ASSERT_NE(list, nullptr);
  const QString long_name = QStringLiteral("Macro: a very long macro name that cannot fit the row");
  list->Show({{QStringLiteral("Left button"), QStringLiteral("Left click"), true},
              {QStringLiteral("Right button"), long_name, true},
              {QStringLiteral("Side button"), QStringLiteral("Back"), false}});
  ASSERT_EQ(list->count(), 3);
  EXPECT_FALSE(list->item(0)->isHidden());
  EXPECT_TRUE(list->item(2)->isHidden());
  // Its row does not lie over the others until the view's next layout pass.
  EXPECT_TRUE(ListRow(list, 2)->isHidden());
  EXPECT_EQ(KeyInfoFunctionText(list, 0), "Left click");
  const QString cut = KeyInfoFunctionText(list, 1);
  EXPECT_TRUE(cut.endsWith(QChar(0x2026))) << cut.toStdString();
  EXPECT_LT(cut.size(), long_name.size());
  EXPECT_EQ(ListRow(list, 1)->toolTip(), long_name);
  EXPECT_EQ(ListRow(list, 1)->height(), KeyInfoList::kRowHeight);

  // A shorter key list leaves no rows behind.
  list->Show({{QStringLiteral("Left button"), QStringLiteral("Right click"), true}});
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(KeyInfoFunctionText(list, 0), "Right click");
  EXPECT_EQ(KeyInfoFunctionText(list, 1), QString());
  list->Show({});
  EXPECT_EQ(list->count(), 0);
}

TEST_F(MouseSettingsLayoutTest, KeyInfoRowsFollowTheWindowScale) {
  ApplyWindowScale(window_.get(), 144);
  auto* list = Control<KeyInfoList>("device_setkeyinfo_list");
  list->Show({{QStringLiteral("Left button"), QStringLiteral("Left click"), true}});
  EXPECT_EQ(ListRow(list, 0)->maximumHeight(), 38);  // 25 at 150 %, rounded
}

}  // namespace
}  // namespace vorlin
