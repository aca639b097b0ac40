// The performance options, the pointer card and the settings tab selector driven as the user
// drives them: which setting each control changes, what is written to the mouse and what is only
// kept in the profile, and which notifications the panel leaves to others.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>

#include "gui/mouse_settings/mouse_settings_test_support.h"
#include "ui/controls.h"
#include "ui/notification.h"

namespace vorlin {
namespace {

using testing::kStoredSettingsAndWritten;
using testing::kStoredSettingsOnly;

using Field = uint16_t MouseSystemSettings::*;

class SettingsOptionsTest : public testing::MouseSettingsFixture {
 protected:
  QAbstractButton* Option(const char* prefix, int n) const {
    return Row<QAbstractButton>(prefix, n);
  }
  std::vector<int> Checked(const char* prefix, int count) const {
    std::vector<int> out;
    for (int n = 0; n < count; ++n)
      if (IsSelected(Option(prefix, n))) out.push_back(n);
    return out;
  }
};

TEST_F(SettingsOptionsTest, RefreshShowsTheSettings) {
  MouseSystemSettings& s = host_.settings;
  s.report_stage = 2;
  s.sensor_lift = 1;
  s.ripple_control = 1;
  s.motion_sync = 1;
  s.dormancy_time = 2;
  s.key_delay = 3;
  s.anti_shake = 1;
  s.silent_altitude = 1;
  s.pointer_speed = 14;
  s.wheel_lines = 6;
  s.double_click_time = 620;
  s.pointer_precision = 1;
  Refresh();
  EXPECT_EQ(Checked("polling_rate_option_", 5), std::vector<int>({2}));
  EXPECT_EQ(Checked("sensor_lif_option_", 2), std::vector<int>({1}));
  EXPECT_TRUE(IsSelected(Control<QAbstractButton>("rippleControl_option")));
  EXPECT_FALSE(IsSelected(Control<QAbstractButton>("linearCalibration_option")));
  EXPECT_TRUE(IsSelected(Control<QAbstractButton>("motionSyn_option")));
  EXPECT_EQ(Control<QComboBox>("Dormancy_combo_timeSelect")->currentIndex(), 2);
  EXPECT_EQ(Control<QComboBox>("Key_Delay_combo_timeSelect")->currentIndex(), 3);
  EXPECT_EQ(Control<QComboBox>("Anti_Shake_combo_timeSelect")->currentIndex(), 1);
  EXPECT_EQ(Control<QComboBox>("Silent_Altitude_Select")->currentIndex(), 1);
  EXPECT_EQ(Control<QSlider>("pointer_speed_slider")->value(), 14);
  EXPECT_EQ(Control<QLabel>("pointer_speed_value")->text(), "14/20");
  EXPECT_EQ(Control<QSlider>("scroll_speed_slider")->value(), 6);
  EXPECT_EQ(Control<QLabel>("double_click_value")->text(), "620 ms");
  EXPECT_TRUE(IsSelected(Control<QAbstractButton>("pointer_precision_check")));
  EXPECT_FALSE(IsSelected(Control<QAbstractButton>("scrolls_page_check")));

  // Values no option or item stands for.
  s.report_stage = 7;
  s.sensor_lift = 2;
  s.key_delay = 40;
  Refresh();
  EXPECT_EQ(Checked("polling_rate_option_", 5), std::vector<int>({0}));
  EXPECT_EQ(Checked("sensor_lif_option_", 2), std::vector<int>({0}));
  EXPECT_EQ(Control<QComboBox>("Key_Delay_combo_timeSelect")->currentIndex(), -1);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(SettingsOptionsTest, OptionRowsStoreTheirNumberAndWrite) {
  struct Case {
    const char* prefix;
    int count;
    int option;
    Field field;
  };
  const Case cases[] = {
      {"polling_rate_option_", 5, 4, &MouseSystemSettings::report_stage},
      {"polling_rate_option_", 5, 0, &MouseSystemSettings::report_stage},
      {"polling_rate_option_", 5, 2, &MouseSystemSettings::report_stage},
      {"sensor_lif_option_", 2, 1, &MouseSystemSettings::sensor_lift},
      {"sensor_lif_option_", 2, 0, &MouseSystemSettings::sensor_lift},
  };
  for (const Case& c : cases) {
    host_.calls.clear();
    Click(Option(c.prefix, c.option));
    EXPECT_EQ(host_.settings.*c.field, c.option) << c.prefix << c.option;
    EXPECT_EQ(host_.calls, kStoredSettingsAndWritten) << c.prefix << c.option;
    EXPECT_EQ(Checked(c.prefix, c.count), std::vector<int>({c.option})) << c.prefix << c.option;
  }
}

TEST_F(SettingsOptionsTest, FlagOptionsStoreTheirState) {
  struct Case {
    const char* name;
    Field field;
  };
  const Case cases[] = {{"rippleControl_option", &MouseSystemSettings::ripple_control},
                        {"linearCalibration_option", &MouseSystemSettings::linear_calibration},
                        {"motionSyn_option", &MouseSystemSettings::motion_sync}};
  for (const Case& c : cases) {
    for (int expected : {1, 0}) {
      host_.calls.clear();
      Click(Control<QAbstractButton>(c.name));
      EXPECT_EQ(host_.settings.*c.field, expected) << c.name;
      EXPECT_EQ(host_.calls, kStoredSettingsAndWritten) << c.name;
    }
  }
  // Nothing else moved.
  MouseSystemSettings untouched;
  EXPECT_EQ(host_.settings, untouched);
}

TEST_F(SettingsOptionsTest, ListsStoreTheSelectedIndex) {
  struct Case {
    const char* name;
    Field field;
    int count;
  };
  const Case cases[] = {{"Dormancy_combo_timeSelect", &MouseSystemSettings::dormancy_time, 3},
                        {"Key_Delay_combo_timeSelect", &MouseSystemSettings::key_delay, 4},
                        {"Anti_Shake_combo_timeSelect", &MouseSystemSettings::anti_shake, 4},
                        {"Silent_Altitude_Select", &MouseSystemSettings::silent_altitude, 2}};
  for (const Case& c : cases) {
    auto* combo = Control<QComboBox>(c.name);
    ASSERT_NE(combo, nullptr) << c.name;
    EXPECT_EQ(combo->count(), c.count) << c.name;
    host_.calls.clear();
    SelectItem(combo, c.count - 1);
    EXPECT_EQ(host_.settings.*c.field, c.count - 1) << c.name;
    EXPECT_EQ(host_.calls, kStoredSettingsAndWritten) << c.name;
  }
  // The items read in the interface language.
  EXPECT_EQ(Control<QComboBox>("Anti_Shake_combo_timeSelect")->itemText(0), "Off");
}

TEST_F(SettingsOptionsTest, PointerSettingsAreSavedButNotWritten) {
  struct Case {
    const char* slider;
    const char* label;
    int value;
    Field field;
    const char* shown;  // the value with its unit or scale
  };
  const Case cases[] = {
      {"pointer_speed_slider", "pointer_speed_value", 17, &MouseSystemSettings::pointer_speed,
       "17/20"},
      {"scroll_speed_slider", "scroll_speed_value", 9, &MouseSystemSettings::wheel_lines,
       "9 lines"},
      {"double_click_slider", "double_click_value", 750, &MouseSystemSettings::double_click_time,
       "750 ms"},
  };
  for (const Case& c : cases) {
    auto* slider = Control<QSlider>(c.slider);
    ASSERT_NE(slider, nullptr) << c.slider;
    host_.calls.clear();
    slider->setValue(c.value);
    SendNotification(slider, QString::fromLatin1(notify::kMoveValueChanged));
    EXPECT_EQ(Control<QLabel>(c.label)->text(), QString::fromLatin1(c.shown)) << c.slider;
    EXPECT_TRUE(host_.calls.empty()) << c.slider << " while dragged";
    SendNotification(slider, QString::fromLatin1(notify::kValueChanged));
    EXPECT_EQ(host_.settings.*c.field, c.value) << c.slider;
    EXPECT_EQ(host_.calls, kStoredSettingsOnly) << c.slider;
  }
  host_.calls.clear();
  Click(Control<QAbstractButton>("pointer_precision_check"));
  EXPECT_EQ(host_.settings.pointer_precision, 1);
  EXPECT_EQ(host_.calls, kStoredSettingsOnly);
}

TEST_F(SettingsOptionsTest, ScrollSpeedEndsScrollingByPage) {
  Click(Control<QAbstractButton>("scrolls_page_check"));
  EXPECT_EQ(host_.settings.scroll_page, 1);
  auto* slider = Control<QSlider>("scroll_speed_slider");
  slider->setValue(4);
  SendNotification(slider, QString::fromLatin1(notify::kValueChanged));
  EXPECT_EQ(host_.settings.scroll_page, 0);
  EXPECT_EQ(host_.settings.wheel_lines, 4);
  EXPECT_FALSE(IsSelected(Control<QAbstractButton>("scrolls_page_check")));
}

TEST_F(SettingsOptionsTest, TabSelectorShowsItsPage) {
  auto* tabs = Control<QStackedWidget>("mouse_device_seting_layout");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 2);
  Click(Option("mouse_device_seting_option_", 1));
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(Checked("mouse_device_seting_option_", 2), std::vector<int>({1}));
  // Clicking the shown tab's option keeps it shown and checked.
  Click(Option("mouse_device_seting_option_", 1));
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(Checked("mouse_device_seting_option_", 2), std::vector<int>({1}));

  // An option past the last page shows page 0.
  auto* beyond = new QPushButton(Control("mouse_option_layout"));
  beyond->setObjectName(QStringLiteral("mouse_device_seting_option_9"));
  beyond->setCheckable(true);
  WireNotifications(beyond);
  panel_->Bind(window_.get());  // the panel binds what its root holds when it is given it
  Click(beyond);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(Checked("mouse_device_seting_option_", 2), std::vector<int>({0}));
  EXPECT_FALSE(IsSelected(beyond));
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(SettingsOptionsTest, LeavesOtherNotificationsAlone) {
  // Types the controls do not act on.
  EXPECT_FALSE(Send(Row("DPI_slider_", 0), notify::kClick));
  EXPECT_FALSE(Send(Row("DPI_edit_", 0), notify::kTextChanged));
  EXPECT_FALSE(Send(Option("polling_rate_option_", 1), notify::kClick));
  EXPECT_FALSE(Send(Control("Dormancy_combo_timeSelect"), notify::kClick));
  // Names that are not the panel's, or numbers past its rows.
  QWidget* stray = new QWidget(window_.get());
  for (const char* name : {"DPI_slider_6", "DPI_slider_", "DPI_slider_x", "polling_rate_option_5",
                           "sensor_lif_option_2", "deng_light_slider", ""}) {
    stray->setObjectName(QString::fromLatin1(name));
    EXPECT_FALSE(Send(stray, notify::kValueChanged)) << name;
    EXPECT_FALSE(Send(stray, notify::kSelectChanged)) << name;
  }
  // A control of the same name outside the panel's root.
  QPushButton outside;
  outside.setObjectName(QStringLiteral("polling_rate_option_1"));
  outside.setCheckable(true);
  EXPECT_FALSE(Send(&outside, notify::kSelectChanged));
  EXPECT_FALSE(Send(nullptr, notify::kSelectChanged));
  EXPECT_TRUE(host_.calls.empty());
}

}  // namespace
}  // namespace vorlin
