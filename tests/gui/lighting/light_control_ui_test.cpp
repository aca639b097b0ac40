// The lighting panel as the device pages use it: light words in and out, the effect list, the
// effect views on the real controls, the music settings and their colour side, presets, a layout
// that lacks controls, and the layout's names and texts.
#include "support/layout_text_keys.h"
#include "lighting/light_control_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QSlider>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QXmlStreamReader>

#include "gui/lighting/light_panel_test_support.h"
#include "lighting/light_modes.h"
#include "lighting/light_swatch_button.h"
#include "ui/color_palette.h"
#include "ui/controls.h"
#include "ui/language_file.h"

namespace vorlin {
namespace {

using testing::LightPanelFixture;

class LightPanelTest : public LightPanelFixture {
 protected:
  bool Shown(const char* name) const { return Control(name)->isVisibleTo(panel_); }
  bool On(const char* name) const { return Control(name)->isEnabledTo(panel_); }
  bool Selected(const char* name) const { return Control<QAbstractButton>(name)->isChecked(); }
};

LightWords Words(const LightSettings& s) {
  return LightSettingsToWords(s);
}

TEST_F(LightPanelTest, PureRedShowsInTheEditsPaletteAndButton) {
  // Word 1: multi-colour 0, red 255, green 0, blue 0.
  panel_->SetLightWords({0, 0x0000FF00u, 0, 0});
  EXPECT_EQ(panel_->GetRedText(), QStringLiteral("255"));
  EXPECT_EQ(panel_->GetGreenText(), QStringLiteral("0"));
  EXPECT_EQ(panel_->GetBlueText(), QStringLiteral("0"));
  EXPECT_EQ(panel_->GetPaletteColour(), 0xFFFF0000u);
  EXPECT_EQ(ControlBackgroundColour(Control("deng_colordp_btn")), 0xFFFF0000u);
  EXPECT_EQ(panel_->GetMultiColour(), 0);
}

TEST_F(LightPanelTest, WordsRoundTripThroughTheControls) {
  LightSettings s;
  s.mode = 3;
  s.brightness = 2;
  s.speed = 4;
  s.direction = 1;
  s.multi_color = 1;
  s.red = 10;
  s.green = 200;
  s.blue = 30;
  s.unused = {7, 8, 9};
  s.sync_mode = 2;
  s.custom_group = 1;
  s.old_mode = 5;
  panel_->SetLightWords(Words(s));
  EXPECT_EQ(panel_->GetMode(), 3);
  EXPECT_EQ(panel_->GetBrightness(), 2);
  EXPECT_EQ(panel_->GetSpeed(), 4);
  EXPECT_EQ(panel_->GetDirection(), 1);
  EXPECT_TRUE(Selected("deng_FXL_check"));
  EXPECT_FALSE(Selected("deng_FXR_check"));
  EXPECT_EQ(panel_->GetMultiColour(), 1);
  EXPECT_EQ(panel_->GetSyncMode(), 2);
  // Fields the panel does not show come from the base.
  EXPECT_EQ(panel_->GetLightWords(Words(s)), Words(s));

  s.direction = 0;
  s.multi_color = 0;
  panel_->SetLightWords(Words(s));
  EXPECT_EQ(panel_->GetDirection(), 0);
  EXPECT_TRUE(Selected("deng_FXR_check"));
  EXPECT_EQ(panel_->GetLightWords(Words(s)), Words(s));
  // Nothing of this reached the device.
  EXPECT_TRUE(target_.calls.empty());
  EXPECT_TRUE(router_.handled.isEmpty());
}

TEST_F(LightPanelTest, EffectListItemsCarryKeysFlagsAndHeight) {
  auto* combo = Control<QComboBox>("light_combo_modeSelect");
  ASSERT_EQ(combo->count(), testing::ModeKeys().size());
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Steady"));
  EXPECT_EQ(combo->itemData(1).toString(), QStringLiteral("light_mode_steady"));
  EXPECT_EQ(combo->itemData(0, Qt::SizeHintRole).toSize().height(),
            CLightControlUI::kModeItemHeight);
  auto* model = qobject_cast<QStandardItemModel*>(combo->model());
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->item(3)->isEnabled());
  EXPECT_FALSE(model->item(4)->isEnabled());  // its flag is 0
  EXPECT_EQ(Control<QSlider>("deng_light_slider")->maximum(), 4);

  // A shorter flag list leaves the rest usable; new maxima hold.
  panel_->SetModeList({QStringLiteral("light_mode_wave"), QStringLiteral("light_mode_dark")}, {0},
                      9, 3);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_FALSE(model->item(0)->isEnabled());
  EXPECT_TRUE(model->item(1)->isEnabled());
  EXPECT_EQ(Control<QSlider>("deng_light_slider")->maximum(), 9);
  EXPECT_EQ(Control<QSlider>("deng_speed_slider")->maximum(), 3);
  // The texts follow the language.
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(combo->itemText(1), Translator::Instance().Text(QStringLiteral("light_mode_dark")));
  EXPECT_NE(combo->itemText(1), QStringLiteral("Off"));
  // Refilling raised no notification.
  EXPECT_TRUE(router_.handled.isEmpty());
}

TEST_F(LightPanelTest, EffectViewsReachTheControls) {
  panel_->ApplyMode(29);  // music
  EXPECT_EQ(Control<QStackedWidget>("light_color_tablayout")->currentIndex(), 1);
  EXPECT_TRUE(Shown("light_combo_AudiomodeSelectLayout"));
  EXPECT_FALSE(Shown("deng_speed_layout"));
  EXPECT_FALSE(On("deng_speed_layout"));

  panel_->ApplyMode(17);
  EXPECT_EQ(Control<QStackedWidget>("light_color_tablayout")->currentIndex(), 0);
  EXPECT_FALSE(Shown("light_combo_AudiomodeSelectLayout"));
  EXPECT_TRUE(Shown("light_combo_ZZCCmodeSelectLayout"));
  EXPECT_FALSE(Shown("deng_speed_layout"));
  EXPECT_TRUE(On("deng_speed_layout"));
  EXPECT_FALSE(On("light_color_layout"));

  panel_->ApplyMode(28);  // off: only the effect list is usable
  EXPECT_TRUE(On("lighteffect_layout"));
  for (const char* off : {"deng_7color_check", "deng_color_layout", "colorpallet_layout",
                          "deng_fx_layout", "deng_light_layout", "deng_speed_layout"}) {
    EXPECT_FALSE(On(off)) << off;
  }
  EXPECT_FALSE(Shown("light_combo_ZZCCmodeSelectLayout"));

  panel_->ApplyMode(3);
  EXPECT_EQ(Control<QAbstractButton>("deng_FXL_check")->text(), QStringLiteral("Clockwise"));
  EXPECT_EQ(Control<QAbstractButton>("deng_FXR_check")->text(), QStringLiteral("Anticlockwise"));
  panel_->ApplyMode(1);
  EXPECT_EQ(Control<QAbstractButton>("deng_FXL_check")->text(), QStringLiteral("Right to left"));
  EXPECT_TRUE(On("deng_light_layout"));

  panel_->ApplyMode(20);
  EXPECT_TRUE(Shown("lightcustom_layout"));
}

TEST_F(LightPanelTest, SameModeShowsOnlyWhileEffectAndPageAllowIt) {
  panel_->SetLightType(3);
  panel_->ApplyMode(1);  // the effect allows it
  EXPECT_FALSE(Shown("deng_same_mode"));
  panel_->SetSameModeAllowed(true);
  EXPECT_TRUE(Shown("deng_same_mode"));
  panel_->ApplyMode(0);  // the effect does not
  EXPECT_FALSE(Shown("deng_same_mode"));
  panel_->ApplyMode(8);
  EXPECT_TRUE(Shown("deng_same_mode"));
  panel_->SetSameModeAllowed(false);  // a single device left
  EXPECT_FALSE(Shown("deng_same_mode"));
}

TEST_F(LightPanelTest, UnknownLightTypeLeavesTheControlsAlone) {
  panel_->ApplyMode(28);
  panel_->SetLightType(6);
  panel_->ApplyMode(1);
  EXPECT_FALSE(On("deng_light_layout"));  // still as effect 28 left it
}

AudioLightSettings Audio(uint8_t mode, uint8_t side, uint8_t multi) {
  AudioLightSettings s;
  s.audio_mode = mode;
  s.bk_red = 1;
  s.bk_green = 2;
  s.bk_blue = 3;
  s.fg_red = 250;
  s.fg_green = 128;
  s.fg_blue = 4;
  s.multi_color = multi;
  s.color_side = side;
  return s;
}

TEST_F(LightPanelTest, MusicSettingsShowTheSelectedSide) {
  struct Case {
    const char* what;
    AudioLightSettings settings;
    bool foreground_selected;
    bool multi_on;
    bool multi_checked;
    QString red;
    uint32_t colour;
    bool colours_on;
  };
  const Case cases[] = {
      {"foreground, multi-colour", Audio(0, 1, 1), true, true, true, "250", 0xFFFA8004, true},
      {"foreground, one colour", Audio(5, 1, 0), true, true, false, "250", 0xFFFA8004, true},
      {"background", Audio(2, 0, 0), false, false, false, "1", 0xFF010203, true},
      // The check keeps the foreground's flag while the background is shown.
      {"background, multi-colour kept", Audio(2, 0, 1), false, false, true, "1", 0xFF010203, true},
      // The style whose colours come from the music turns both colour groups off.
      {"foreground, style 3", Audio(3, 1, 1), true, true, true, "250", 0xFFFA8004, false},
      {"background, style 3", Audio(3, 0, 0), false, false, false, "1", 0xFF010203, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    panel_->SetAudioLight(c.settings);
    EXPECT_EQ(Control<QComboBox>("light_combo_audiomodeSelect")->currentIndex(),
              c.settings.audio_mode);
    EXPECT_EQ(Selected("audio_FgColor_check"), c.foreground_selected);
    EXPECT_EQ(Selected("audio_BkColor_check"), !c.foreground_selected);
    EXPECT_EQ(Control("deng_7audiocolor_check")->isEnabled(), c.multi_on);
    EXPECT_EQ(Selected("deng_7audiocolor_check"), c.multi_checked);
    EXPECT_EQ(Text("deng_audioedit_R"), c.red);
    EXPECT_TRUE(testing::NearColour(panel_->GetAudioPaletteColour(), c.colour));
    EXPECT_EQ(ControlBackgroundColour(Control("deng_audiocolordp_btn")), c.colour);
    EXPECT_EQ(On("light_audiocolor_layout"), c.colours_on);
    EXPECT_EQ(On("audiocolorpallet_layout"), c.colours_on);
  }
  EXPECT_TRUE(router_.handled.isEmpty());
}

TEST_F(LightPanelTest, ReadingMusicSettingsTakesTheSideAndButtonColour) {
  // A fresh panel has neither side selected: the stored side stays.
  EXPECT_EQ(panel_->GetAudioLight(Audio(0, 1, 1), false).color_side, 1);
  EXPECT_EQ(panel_->GetAudioLight(Audio(0, 0, 1), false).color_side, 0);

  struct Case {
    const char* what;
    uint8_t shown_side;   // what the panel shows
    const char* click;    // then the user picks
    uint8_t stored_side;  // what the device had
    bool store_button;
    uint8_t side;
    AudioLightSettings expect_colours;
  };
  AudioLightSettings button_in_fg = Audio(0, 1, 0);
  button_in_fg.fg_red = 0x11;
  button_in_fg.fg_green = 0x22;
  button_in_fg.fg_blue = 0x33;
  AudioLightSettings button_in_bk = Audio(0, 1, 0);
  button_in_bk.bk_red = 0x11;
  button_in_bk.bk_green = 0x22;
  button_in_bk.bk_blue = 0x33;
  const Case cases[] = {
      {"stays foreground", 1, nullptr, 1, false, 1, Audio(0, 1, 0)},
      {"foreground to background", 1, "audio_BkColor_check", 1, false, 0, Audio(0, 1, 0)},
      {"background to foreground", 0, "audio_FgColor_check", 0, false, 1, Audio(0, 1, 0)},
      {"stays background", 0, nullptr, 0, false, 0, Audio(0, 1, 0)},
      {"button into foreground", 1, nullptr, 1, true, 1, button_in_fg},
      {"button into background", 1, "audio_BkColor_check", 1, true, 0, button_in_bk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    panel_->SetAudioLight(Audio(0, c.shown_side, 0));
    SetControlBackgroundColour(Control("deng_audiocolordp_btn"), 0xFF112233);
    if (c.click) {
      NotificationBlocker quiet;  // the panel alone, no device here
      Click(c.click);
    }
    const AudioLightSettings got =
        panel_->GetAudioLight(Audio(0, c.stored_side, 0), c.store_button);
    EXPECT_EQ(got.color_side, c.side);
    AudioLightSettings expected = c.expect_colours;
    expected.color_side = c.side;
    EXPECT_EQ(got, expected);
  }
}

TEST_F(LightPanelTest, ReadingMusicSettingsTakesStyleAndMultiColour) {
  panel_->SetAudioLight(Audio(2, 1, 1));
  {
    NotificationBlocker quiet;
    Control<QComboBox>("light_combo_audiomodeSelect")->setCurrentIndex(6);
    Click("deng_7audiocolor_check");
  }
  const AudioLightSettings got = panel_->GetAudioLight(Audio(2, 1, 1), false);
  EXPECT_EQ(got.audio_mode, 6);
  EXPECT_EQ(got.multi_color, 0);
}

TEST_F(LightPanelTest, PresetsAreTheSwatchColours) {
  const uint32_t presets[] = {0xFFFF2A2A, 0xFFFF8A00, 0xFFFFE100, 0xFF1FD65F,
                              0xFF00D1FF, 0xFF2F6BFF, 0xFFA64DFF, 0xFFFFFFFF};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(panel_->GetPresetColour(i), presets[i]) << i;
    EXPECT_EQ(panel_->GetAudioPresetColour(i), presets[i]) << i;
  }
  EXPECT_EQ(panel_->GetPresetColour(8), 0xFF000000u);
  EXPECT_EQ(panel_->GetAudioPresetColour(-1), 0xFF000000u);
  // A swatch given another colour reports it.
  SetControlBackgroundColour(Control("color_option_2"), 0xFF123456);
  EXPECT_EQ(panel_->GetPresetColour(2), 0xFF123456u);
}

TEST_F(LightPanelTest, ColourButtonsAnnounceClicksWithTheirColour) {
  std::vector<uint32_t> plain;
  std::vector<uint32_t> music;
  QObject::connect(panel_, &CLightControlUI::colourButtonClicked,
                   [&](uint32_t c) { plain.push_back(c); });
  QObject::connect(panel_, &CLightControlUI::audioColourButtonClicked,
                   [&](uint32_t c) { music.push_back(c); });
  panel_->ShowColour(0xFF00FF00);
  Click("deng_colordp_btn");
  panel_->SetAudioLight(Audio(0, 0, 0));
  Click("deng_audiocolordp_btn");
  EXPECT_EQ(plain, std::vector<uint32_t>{0xFF00FF00});
  EXPECT_EQ(music, std::vector<uint32_t>{0xFF010203});
  EXPECT_TRUE(target_.calls.empty());
}

TEST_F(LightPanelTest, SliderValuesShowBesideThemOnTheirScale) {
  panel_->SetBrightness(3);
  panel_->SetSpeed(1);
  EXPECT_EQ(Control<QLabel>("deng_light_value")->text(), QStringLiteral("3/4"));
  EXPECT_EQ(Control<QLabel>("deng_speed_value")->text(), QStringLiteral("1/4"));
}

TEST_F(LightPanelTest, FitsTheRightHandColumnInEitherLanguage) {
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    SCOPED_TRACE(language);
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QString::fromLatin1(language)));
    for (int mode : {3, 17, 20, 29}) {  // the views with the widest rows
      panel_->ApplyMode(mode);
      panel_->adjustSize();
      EXPECT_LE(panel_->minimumSizeHint().width(), 360) << "effect " << mode;
    }
  }
}

// A skin whose panel lacks the music controls except the number edits.
class LightPanelWithoutMusicTest : public LightPanelFixture {
 protected:
  void BeforeFirstUse() override {
    ASSERT_NE(AttachSubLayout(panel_, testing::TestLayout("LightControlNoAudio.xml")), nullptr);
  }
};

TEST_F(LightPanelWithoutMusicTest, MusicOperationsReportTheMissingControl) {
  const auto message_of = [](const auto& operation) -> std::string {
    try {
      operation();
    } catch (const LightPanelError& error) {
      return error.what();
    }
    return "no failure";
  };
  EXPECT_EQ(message_of([&] { panel_->GetAudioLight(AudioLightSettings{}, true); }),
            "GetAudioLightInfo control is NULL");
  EXPECT_EQ(message_of([&] { panel_->SetAudioLight(AudioLightSettings{}); }),
            " SetAudioLightInfo control is NULL");
  EXPECT_EQ(message_of([&] { panel_->GetAudioPaletteColour(); }),
            "GetLightAudioColor control is NULL");
  // Nothing was half-set.
  EXPECT_TRUE(Text("deng_audioedit_R").isEmpty());

  // The plain operations work with what is there and pass over the rest.
  panel_->SetLightWords({0x00010203u, 0x30201001u, 0x02000000u, 0});
  EXPECT_EQ(panel_->GetRedText(), QStringLiteral("16"));
  EXPECT_EQ(panel_->GetCustomMode(), -1);
  EXPECT_EQ(panel_->GetSyncMode(), 0);
  panel_->SetCustomMode(2);
  panel_->ApplyMode(29);
  EXPECT_EQ(panel_->GetPresetColour(0), 0xFF00FF00u);
}

TEST_F(LightPanelWithoutMusicTest, HandlersLogAndLeaveTheDeviceAlone) {
  target_.audio = Audio(0, 1, 1);
  const AudioLightSettings before = target_.audio;
  Control<QLineEdit>("deng_audioedit_R")->setText(QStringLiteral("12"));
  LoseFocus("deng_audioedit_R");
  Click("Close_bkColor_btn");
  EXPECT_EQ(target_.audio, before);
  EXPECT_TRUE(target_.Changes().empty());
  // Both were the panel's to handle, and nothing escaped.
  EXPECT_EQ(router_.handled.size(), 2);
}

TEST(LightPanelBareTest, ControlsMissingAltogetherGiveEmptyAnswers) {
  QWidget window;
  auto* panel = new CLightControlUI(&window);
  new QWidget(panel);  // a tree of its own, with none of the controls
  EXPECT_EQ(panel->GetMode(), 0);
  EXPECT_EQ(panel->GetBrightness(), 0);
  EXPECT_EQ(panel->GetSpeed(), 0);
  EXPECT_EQ(panel->GetRedText(), QString());
  EXPECT_EQ(panel->GetPaletteColour(), 0xFF000000u);
  EXPECT_EQ(panel->GetMultiColour(), 0);
  EXPECT_EQ(panel->GetDirection(), 0);
  EXPECT_EQ(panel->GetSyncMode(), 0);
  EXPECT_EQ(panel->GetCustomMode(), -1);
  EXPECT_EQ(panel->GetPresetColour(0), 0xFF000000u);
  panel->SetLightWords({1, 2, 3, 4});
  panel->SetModeList({QStringLiteral("light_mode_wave")}, {1}, 4, 4);
  panel->SetLightType(1);
  panel->ApplyMode(29);
  panel->SetSameModeAllowed(true);
  const LightWords base{0x11223344, 0x55667788, 0x99AABBCC, 0xDDEE};
  EXPECT_EQ(panel->GetLightWords(base), base);
}

// ---- The layout itself ----

QString LayoutPath() {
  return testing::SkinFolder() + QStringLiteral("/XML/CustomControlXML/LightControl.xml");
}

TEST_F(LightPanelTest, LayoutHasEveryControlThePanelUses) {
  const char* names[] = {"light_combo_modeSelect",
                         "deng_light_slider",
                         "deng_speed_slider",
                         "deng_FXL_check",
                         "deng_FXR_check",
                         "deng_7color_check",
                         "deng_edit_R",
                         "deng_edit_G",
                         "deng_edit_B",
                         "deng_Color_Pallet",
                         "deng_colordp_btn",
                         "light_combo_ZZCCmodeSelect",
                         "light_combo_custommodeSelect",
                         "light_combo_audiomodeSelect",
                         "deng_audioedit_R",
                         "deng_audioedit_G",
                         "deng_audioedit_B",
                         "deng_audioColor_Pallet",
                         "deng_audiocolordp_btn",
                         "deng_7audiocolor_check",
                         "audio_BkColor_check",
                         "audio_FgColor_check",
                         "light_audiocolor_layout",
                         "audiocolorpallet_layout",
                         "Close_bkColor_btn",
                         kColourTabsName,
                         "deng_light_value",
                         "deng_speed_value"};
  for (const char* name : names) EXPECT_NE(Control(name), nullptr) << name;
  for (std::size_t i = 0; i < kLightPartCount; ++i) {
    const char* name = LightPartControlName(static_cast<LightPart>(i));
    EXPECT_NE(Control(name), nullptr) << name;
  }
  for (int i = 0; i < 8; ++i) {
    EXPECT_NE(
        qobject_cast<LightSwatchButton*>(Control(("color_option_" + std::to_string(i)).c_str())),
        nullptr)
        << i;
    EXPECT_NE(qobject_cast<LightSwatchButton*>(
                  Control(("audiocolor_option_" + std::to_string(i)).c_str())),
              nullptr)
        << i;
  }
  EXPECT_NE(qobject_cast<ColorPalette*>(Control("deng_Color_Pallet")), nullptr);
  // The option pairs are exclusive.
  EXPECT_EQ(OptionGroup(Control<QAbstractButton>("deng_FXL_check")),
            OptionGroup(Control<QAbstractButton>("deng_FXR_check")));
  EXPECT_EQ(OptionGroup(Control<QAbstractButton>("audio_BkColor_check")),
            OptionGroup(Control<QAbstractButton>("audio_FgColor_check")));
  // The music styles and the colour schemes come filled.
  EXPECT_EQ(Control<QComboBox>("light_combo_audiomodeSelect")->count(), 7);
  EXPECT_EQ(Control<QComboBox>("light_combo_ZZCCmodeSelect")->count(), 4);
  EXPECT_EQ(Control<QComboBox>("light_combo_audiomodeSelect")->itemText(1),
            QStringLiteral("Split bars"));
}

TEST(LightPanelLayoutTest, EveryTextKeyIsInBothLanguages) {
  std::optional<QSet<QString>> layout_keys = test::LayoutTextKeys(LayoutPath());
  ASSERT_TRUE(layout_keys.has_value());
  QSet<QString>& keys = *layout_keys;
  EXPECT_TRUE(keys.contains(QStringLiteral("light_audio_mode_6")));
  // The captions the effects give the direction options.
  for (int type : {1, 2, 3, 5}) {
    for (int mode = 0; mode < 64; ++mode) {
      if (const auto labels = LightModeViewFor(type, mode).labels) {
        keys << QString::fromLatin1(labels->left_option)
             << QString::fromLatin1(labels->right_option);
      }
    }
  }
  ASSERT_GT(keys.size(), 40);
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing =
        test::KeysWithoutText(testing::SkinFolder() + QLatin1Char('/') + QLatin1String(language), keys);
    ASSERT_TRUE(missing.has_value()) << language;
    EXPECT_TRUE(missing->isEmpty()) << language << " lacks " << missing->join(' ').toStdString();
  }
}

}  // namespace
}  // namespace vorlin
