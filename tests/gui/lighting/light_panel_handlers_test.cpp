// The lighting panel's controls driven as a user drives them, with the notifications routed to
// the handlers as the main window routes them: what reaches the device, in which order, and what
// the panel shows afterwards.
#include "lighting/light_panel_handlers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "gui/lighting/light_panel_test_support.h"
#include "lighting/light_channel_text.h"
#include "lighting/light_swatch_button.h"
#include "ui/color_palette.h"
#include "ui/controls.h"

namespace vorlin {
namespace {

using testing::LightPanelFixture;
using Calls = std::vector<std::string>;

class LightPanelHandlersTest : public LightPanelFixture {
 protected:
  void SetUp() override {
    LightPanelFixture::SetUp();
    // The device's setting: effect 1, brightness 2, speed 3, direction 0, multi-colour on,
    // red 10, green 20, blue 30, colour scheme 1, custom group 2, previous effect 4.
    initial_.mode = 1;
    initial_.brightness = 2;
    initial_.speed = 3;
    initial_.multi_color = 1;
    initial_.red = 10;
    initial_.green = 20;
    initial_.blue = 30;
    initial_.sync_mode = 1;
    initial_.custom_group = 2;
    initial_.old_mode = 4;
    target_.words = LightSettingsToWords(initial_);
    panel_->SetLightWords(target_.words);
    panel_->ApplyMode(initial_.mode);
  }

  // One call hands the device its new settings: leaving the synchronised lighting or not.
  static Calls Stored(bool leave_sync) {
    return {leave_sync ? "SetLighting(leave)" : "SetLighting(stay)"};
  }

  LightSettings initial_;
};

TEST_F(LightPanelHandlersTest, EachWordControlStoresItsByteInOrder) {
  struct Case {
    const char* what;
    std::function<void()> act;
    Calls calls;
    std::function<void(LightSettings&)> change;
  };
  const Case cases[] = {
      {"effect list", [this] { SelectItem(Control<QComboBox>("light_combo_modeSelect"), 3); },
       Stored(true), [](LightSettings& s) { s.mode = 3; }},
      {"brightness",
       [this] {
         Control<QSlider>("deng_light_slider")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
       },
       Stored(true), [](LightSettings& s) { s.brightness = 3; }},
      {"speed",
       [this] {
         Control<QSlider>("deng_speed_slider")->triggerAction(QAbstractSlider::SliderSingleStepSub);
       },
       Stored(true), [](LightSettings& s) { s.speed = 2; }},
      {"direction", [this] { Click("deng_FXL_check"); }, Stored(true),
       [](LightSettings& s) { s.direction = 1; }},
      {"multi-colour", [this] { Click("deng_7color_check"); }, Stored(true),
       [](LightSettings& s) { s.multi_color = 0; }},
      // The colour scheme keeps the device in step with the others: the hold stays.
      {"colour scheme", [this] { SelectItem(Control<QComboBox>("light_combo_ZZCCmodeSelect"), 3); },
       Stored(false), [](LightSettings& s) { s.sync_mode = 3; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    target_.words = LightSettingsToWords(initial_);
    panel_->SetLightWords(target_.words);
    target_.calls.clear();
    c.act();
    EXPECT_EQ(target_.Changes(), c.calls);
    LightSettings expected = initial_;
    c.change(expected);
    EXPECT_EQ(target_.Settings(), expected);
  }
}

TEST_F(LightPanelHandlersTest, EffectChangeAppliesItsView) {
  SelectItem(Control<QComboBox>("light_combo_modeSelect"), 5);  // light type 1, effect 5
  EXPECT_FALSE(Control("deng_fx_layout")->isEnabled());
  EXPECT_EQ(target_.Settings().mode, 5);
}

TEST_F(LightPanelHandlersTest, DirectionBackToRightStoresZeroOnce) {
  Click("deng_FXL_check");
  target_.calls.clear();
  Click("deng_FXR_check");
  // Both options change; only the one now selected is stored.
  EXPECT_EQ(target_.Changes(), Stored(true));
  EXPECT_EQ(target_.Settings().direction, 0);
  EXPECT_EQ(panel_->GetDirection(), 0);
}

TEST_F(LightPanelHandlersTest, ColourEditsClampAndStoreTheColour) {
  struct Case {
    const char* edit;
    const char* typed;
    const char* shown_after;
    int red, green, blue;
  };
  const Case cases[] = {
      {"deng_edit_R", "300", "255", 255, 20, 30}, {"deng_edit_G", "", "0", 10, 0, 30},
      {"deng_edit_B", "128", "128", 10, 20, 128}, {"deng_edit_R", "007", "007", 7, 20, 30},
      {"deng_edit_G", "256", "255", 10, 255, 30}, {"deng_edit_B", "0", "0", 10, 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.edit) + " \"" + c.typed + "\"");
    target_.words = LightSettingsToWords(initial_);
    panel_->SetLightWords(target_.words);
    target_.calls.clear();
    Control<QLineEdit>(c.edit)->setText(QString::fromLatin1(c.typed));
    LoseFocus(c.edit);
    EXPECT_EQ(Text(c.edit), QString::fromLatin1(c.shown_after));
    EXPECT_EQ(target_.Changes(), Stored(true));
    LightSettings expected = initial_;
    expected.red = c.red;
    expected.green = c.green;
    expected.blue = c.blue;
    expected.multi_color = 0;
    EXPECT_EQ(target_.Settings(), expected);
    const uint32_t colour = OpaqueColour(c.red, c.green, c.blue);
    EXPECT_EQ(panel_->GetMultiColour(), 0);
    EXPECT_EQ(ControlBackgroundColour(Control("deng_colordp_btn")), colour);
    EXPECT_TRUE(testing::NearColour(panel_->GetPaletteColour(), colour));
  }
}

TEST(LightChannelTextTest, TypedTextBecomesAChannel) {
  struct Case {
    const char* text;
    int value;
    const char* corrected;  // nullptr: left as typed
  };
  const Case cases[] = {
      {"0", 0, nullptr},   {"255", 255, nullptr},
      {"42", 42, nullptr}, {"007", 7, nullptr},
      {" 9 ", 9, nullptr}, {"256", 255, "255"},
      {"300", 255, "255"}, {"999999999999999999999", 255, "255"},
      {"", 0, "0"},        {"   ", 0, "0"},
      {"-5", 0, "0"},      {"1a", 0, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ChannelInput input = ParseColourChannel(QString::fromLatin1(c.text));
    EXPECT_EQ(input.value, c.value);
    EXPECT_EQ(input.corrected_text.has_value(), c.corrected != nullptr);
    if (c.corrected) {
      EXPECT_EQ(*input.corrected_text, QString::fromLatin1(c.corrected));
    }
  }
}

TEST_F(LightPanelHandlersTest, PalettePickStoresTheColourAndShowsIt) {
  auto* palette = Control<ColorPalette>("deng_Color_Pallet");
  ASSERT_GT(palette->FieldRect().width(), 10);
  target_.calls.clear();
  QTest::mouseClick(palette, Qt::LeftButton, {}, palette->FieldRect().center());
  const uint32_t picked = panel_->GetPaletteColour();
  EXPECT_EQ(target_.Changes(), Stored(true));
  LightSettings expected = initial_;
  expected.red = (picked >> 16) & 0xFF;
  expected.green = (picked >> 8) & 0xFF;
  expected.blue = picked & 0xFF;
  expected.multi_color = 0;
  EXPECT_EQ(target_.Settings(), expected);
  EXPECT_EQ(panel_->GetRedText(), QString::number(expected.red));
  EXPECT_EQ(panel_->GetGreenText(), QString::number(expected.green));
  EXPECT_EQ(panel_->GetBlueText(), QString::number(expected.blue));
  EXPECT_EQ(ControlBackgroundColour(Control("deng_colordp_btn")), picked);
  EXPECT_EQ(panel_->GetMultiColour(), 0);
}

TEST_F(LightPanelHandlersTest, PresetColourStoresWithoutTouchingTheHold) {
  target_.calls.clear();
  Click("color_option_1");  // 0xFFFF8A00
  EXPECT_EQ(target_.Changes(), Stored(false));
  LightSettings expected = initial_;
  expected.red = 0xFF;
  expected.green = 0x8A;
  expected.blue = 0x00;
  expected.multi_color = 0;
  EXPECT_EQ(target_.Settings(), expected);
  EXPECT_EQ(panel_->GetRedText(), QStringLiteral("255"));
  EXPECT_EQ(panel_->GetGreenText(), QStringLiteral("138"));
  EXPECT_EQ(panel_->GetBlueText(), QStringLiteral("0"));
  EXPECT_TRUE(testing::NearColour(panel_->GetPaletteColour(), 0xFFFF8A00u));
  EXPECT_EQ(ControlBackgroundColour(Control("deng_colordp_btn")), 0xFFFF8A00u);
  EXPECT_EQ(panel_->GetMultiColour(), 0);
}

// ---- Music settings ----

AudioLightSettings Music(uint8_t side, uint8_t multi) {
  AudioLightSettings s;
  s.audio_mode = 1;
  s.bk_red = 5;
  s.bk_green = 6;
  s.bk_blue = 7;
  s.fg_red = 200;
  s.fg_green = 100;
  s.fg_blue = 50;
  s.multi_color = multi;
  s.color_side = side;
  return s;
}

class MusicHandlersTest : public LightPanelHandlersTest {
 protected:
  void Start(const AudioLightSettings& s) {
    target_.audio = s;
    panel_->SetAudioLight(s);
    panel_->ApplyMode(29);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    target_.calls.clear();
  }
  const Calls kStored = {"SetAudioLighting"};
};

TEST_F(MusicHandlersTest, StyleListStoresTheStyleAndButtonColour) {
  Start(Music(1, 1));
  // The colour button shows a colour the device does not have yet (the colour window's).
  SetControlBackgroundColour(Control("deng_audiocolordp_btn"), 0xFF0A0B0C);
  SelectItem(Control<QComboBox>("light_combo_audiomodeSelect"), 4);
  EXPECT_EQ(target_.Changes(), kStored);
  AudioLightSettings expected = Music(1, 1);
  expected.audio_mode = 4;
  expected.fg_red = 0x0A;
  expected.fg_green = 0x0B;
  expected.fg_blue = 0x0C;
  EXPECT_EQ(target_.audio, expected);
  EXPECT_EQ(Text("deng_audioedit_R"), QStringLiteral("10"));
}

TEST_F(MusicHandlersTest, StyleThreeTurnsTheColoursOff) {
  Start(Music(1, 1));
  SelectItem(Control<QComboBox>("light_combo_audiomodeSelect"), 3);
  EXPECT_EQ(target_.audio.audio_mode, 3);
  EXPECT_FALSE(Control("light_audiocolor_layout")->isEnabled());
  EXPECT_FALSE(Control("audiocolorpallet_layout")->isEnabled());
  EXPECT_TRUE(Control<QAbstractButton>("audio_FgColor_check")->isChecked());
}

TEST_F(MusicHandlersTest, SideOptionsSwitchTheShownColour) {
  Start(Music(1, 1));
  Click("audio_BkColor_check");
  // One store for the switch, though both options changed.
  EXPECT_EQ(target_.Changes(), kStored);
  EXPECT_EQ(target_.audio, Music(0, 1));
  EXPECT_EQ(Text("deng_audioedit_R"), QStringLiteral("5"));
  EXPECT_FALSE(Control("deng_7audiocolor_check")->isEnabled());

  target_.calls.clear();
  Click("audio_FgColor_check");
  EXPECT_EQ(target_.Changes(), kStored);
  EXPECT_EQ(target_.audio, Music(1, 1));
  EXPECT_EQ(Text("deng_audioedit_R"), QStringLiteral("200"));
  EXPECT_TRUE(Control("deng_7audiocolor_check")->isEnabled());
}

TEST_F(MusicHandlersTest, MultiColourCheckStores) {
  Start(Music(1, 1));
  Click("deng_7audiocolor_check");
  EXPECT_EQ(target_.Changes(), kStored);
  EXPECT_EQ(target_.audio, Music(1, 0));
}

TEST_F(MusicHandlersTest, EditsChangeTheSelectedSide) {
  struct Case {
    const char* what;
    uint8_t side;
    const char* edit;
    const char* typed;
    std::function<void(AudioLightSettings&)> change;
  };
  const Case cases[] = {
      {"foreground red above 255", 1, "deng_audioedit_R", "300",
       [](AudioLightSettings& s) {
         s.fg_red = 255;
         s.multi_color = 0;
       }},
      {"foreground blue empty", 1, "deng_audioedit_B", "",
       [](AudioLightSettings& s) {
         s.fg_blue = 0;
         s.multi_color = 0;
       }},
      // The background is one colour: the multi-colour flag is the foreground's and stays.
      {"background green", 0, "deng_audioedit_G", "77",
       [](AudioLightSettings& s) { s.bk_green = 77; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start(Music(c.side, 1));
    Control<QLineEdit>(c.edit)->setText(QString::fromLatin1(c.typed));
    LoseFocus(c.edit);
    EXPECT_EQ(target_.Changes(), kStored);
    AudioLightSettings expected = Music(c.side, 1);
    c.change(expected);
    EXPECT_EQ(target_.audio, expected);
  }
}

TEST_F(MusicHandlersTest, PaletteColourGoesIntoTheSelectedSide) {
  for (uint8_t side : {1, 0}) {
    SCOPED_TRACE(side);
    Start(Music(side, 1));
    auto* palette = Control<ColorPalette>("deng_audioColor_Pallet");
    QTest::mouseClick(palette, Qt::LeftButton, {}, palette->FieldRect().topLeft() + QPoint(3, 3));
    const uint32_t picked = panel_->GetAudioPaletteColour();
    EXPECT_EQ(target_.Changes(), kStored);
    AudioLightSettings expected = Music(side, 1);
    if (side == 1) {
      expected.fg_red = (picked >> 16) & 0xFF;
      expected.fg_green = (picked >> 8) & 0xFF;
      expected.fg_blue = picked & 0xFF;
      expected.multi_color = 0;  // the foreground colour changed
    } else {
      expected.bk_red = (picked >> 16) & 0xFF;
      expected.bk_green = (picked >> 8) & 0xFF;
      expected.bk_blue = picked & 0xFF;
    }
    EXPECT_EQ(target_.audio, expected);
    EXPECT_EQ(ControlBackgroundColour(Control("deng_audiocolordp_btn")), picked);
  }
}

TEST_F(MusicHandlersTest, PresetsAndBackgroundOff) {
  Start(Music(1, 1));
  Click("audiocolor_option_3");  // 0xFF1FD65F
  AudioLightSettings expected = Music(1, 0);
  expected.fg_red = 0x1F;
  expected.fg_green = 0xD6;
  expected.fg_blue = 0x5F;
  EXPECT_EQ(target_.Changes(), kStored);
  EXPECT_EQ(target_.audio, expected);

  Start(Music(0, 1));
  Click("audiocolor_option_7");  // white into the background; multi-colour stays
  expected = Music(0, 1);
  expected.bk_red = expected.bk_green = expected.bk_blue = 0xFF;
  EXPECT_EQ(target_.audio, expected);

  for (uint8_t side : {1, 0}) {
    SCOPED_TRACE(side);
    Start(Music(side, 1));
    Click("Close_bkColor_btn");
    expected = Music(side, 1);
    expected.bk_red = expected.bk_green = expected.bk_blue = 0;
    EXPECT_EQ(target_.Changes(), kStored);
    EXPECT_EQ(target_.audio, expected);
  }
}

// ---- What the handlers leave alone ----

TEST_F(LightPanelHandlersTest, OtherNotificationsAreNotTaken) {
  const auto Dispatch = [this](const Notification& n) { return router_.bindings.Dispatch(n); };
  // Another panel's control of the same name.
  QWidget other_window;
  auto* other_panel = new CLightControlUI(&other_window);
  QWidget* foreign = other_panel->Control(QStringLiteral("color_option_0"));
  ASSERT_NE(foreign, nullptr);
  EXPECT_FALSE(Dispatch({QString::fromLatin1(notify::kClick), foreign, 0}));
  // Types the controls do not act on.
  EXPECT_FALSE(Dispatch(
      {QString::fromLatin1(notify::kMouseEnter), Control("color_option_0"), 0}));
  EXPECT_FALSE(Dispatch(
      {QString::fromLatin1(notify::kTextChanged), Control("deng_edit_R"), 0}));
  // The colour buttons open the colour window through the panel's signals.
  EXPECT_FALSE(Dispatch(
      {QString::fromLatin1(notify::kClick), Control("deng_colordp_btn"), 0}));
  // The keyboard's custom groups are the keyboard page's.
  EXPECT_FALSE(Dispatch(
      {QString::fromLatin1(notify::kItemSelect), Control("light_combo_custommodeSelect"), 0}));
  EXPECT_FALSE(Dispatch({QString::fromLatin1(notify::kClick), nullptr, 0}));
  EXPECT_TRUE(target_.calls.empty());
}

TEST_F(LightPanelHandlersTest, StoreLightColourServesTheColourWindow) {
  target_.calls.clear();
  StoreLightColour(*panel_, target_, 0xFF204060, true);
  EXPECT_EQ(target_.Changes(), Stored(true));
  EXPECT_EQ(target_.Settings().green, 0x40);
  EXPECT_TRUE(testing::NearColour(panel_->GetPaletteColour(), 0xFF204060u));
  EXPECT_EQ(panel_->GetBlueText(), QStringLiteral("96"));
}

}  // namespace
}  // namespace vorlin
