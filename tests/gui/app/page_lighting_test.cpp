// The lighting of every page as the user sees and changes it, the devices on their own threads:
// a change on each page reaches its device and its profile, the preview paints the effect's true
// colours, the panel offers what each effect of each device uses, "Use on all devices" appears
// when several devices are shown and lights them alike, and the mouse's picture offers every
// button and its logo.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "hid/device_link.h"
#include "key_set/key_set_control_ui.h"
#include "main_window_fixture.h"
#include "mouse_settings/key_info_list.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "ui/device_key_button.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

// The effect number of steady light in each product's effect list.
struct ProductLighting {
  const char* product;
  int steady;
};
constexpr ProductLighting kProducts[] = {
    {"mouse", 3}, {"keyboard", 6}, {"MousePad", 3}, {"HD", 3}};

class PageLightingTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  }
  template <typename T = QWidget>
  T* Control(DevicePage* page, const char* name) const {
    return FindControl<T>(page, QString::fromLatin1(name));
  }
  // Shows the page of `product`, as a click on its option does.
  DevicePage* Open(const char* product) {
    DevicePage* page = PageOf(product);
    page->Option()->Select(true);
    page->SetFunctionView(kLightingView);
    return page;
  }
  void ChooseEffect(DevicePage* page, int effect) {
    auto* modes = Control<QComboBox>(page, "light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    modes->setCurrentIndex(effect);
    ASSERT_TRUE(WaitIdle(page));
  }
  void ChooseColour(DevicePage* page, int red, int green, int blue) {
    for (const auto& [name, value] : {std::pair{"deng_edit_R", red}, std::pair{"deng_edit_G", green},
                                      std::pair{"deng_edit_B", blue}}) {
      auto* edit = Control<QLineEdit>(page, name);
      ASSERT_NE(edit, nullptr) << name;
      edit->setText(QString::number(value));
      SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
    }
    ASSERT_TRUE(WaitIdle(page));
  }
  bool Enabled(DevicePage* page, const char* name) const {
    QWidget* control = Control(page, name);
    return control && control->isEnabledTo(page);
  }
  static Json::Value LightInfoOf(DevicePage* page) {
    const Json::Value document = JsonFileIo::ReadJsonFile(page->Client().View().profilePath);
    return Member(Element(Member(document, "Device"), 0), "LightInfo");
  }
};

TEST_F(PageLightingTest, AChangeOnEachPageReachesTheProfileAndTheDevicesThatRunTheirOwnEffects) {
  for (const ProductLighting& p : kProducts) {
    SCOPED_TRACE(p.product);
    DevicePage* page = Open(p.product);
    ChooseEffect(page, p.steady);
    ChooseColour(page, 0x10, 0x80, 0x20);
    const Json::Value light = LightInfoOf(page);
    EXPECT_EQ(ReadInt(light, "SelectItem"), p.steady);
    EXPECT_EQ(ReadInt(light, "Red"), 0x10);
    EXPECT_EQ(ReadInt(light, "Green"), 0x80);
    EXPECT_EQ(ReadInt(light, "Blue"), 0x20);
  }
  // The mouse and the pad run the effect themselves: the colour is in their parameter records.
  for (EmulatedPeripheral* device : {&emulator_.Mouse(), &emulator_.MousePad()}) {
    const FirmwareMemory memory = device->GetFirmware().Snapshot();
    EXPECT_EQ(memory.params[6], 0x10);
    EXPECT_EQ(memory.params[7], 0x80);
    EXPECT_EQ(memory.params[8], 0x20);
  }
}

// A steady green pad is painted green: the preview hands the buttons the frame's colour in the
// buttons' own packing.
TEST_F(PageLightingTest, ThePreviewPaintsTheEffectsTrueColours) {
  DevicePage* page = Open("MousePad");
  ChooseEffect(page, 3);
  ChooseColour(page, 0, 255, 0);
  CDeviceKeyButtonUI* light = page->KeyButtons().at(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return light->IsLightShown() && light->LightLevel() > 0; },
                              3000));
  QTest::qWait(50);  // a repaint
  const QImage painted = light->grab().toImage();
  const QRgb centre = painted.pixel(painted.width() / 2, painted.height() / 2);
  EXPECT_GT(qGreen(centre), qBlue(centre) + 60) << std::hex << centre;
  EXPECT_GT(qGreen(centre), qRed(centre) + 60) << std::hex << centre;
}

// What the lighting panel offers follows each product's own table of effects: the mouse's and
// the pad's waves have brightness and speed, their blinks a colour.
TEST_F(PageLightingTest, ThePanelOffersWhatEachEffectOfEachDeviceUses) {
  struct Case {
    const char* product;
    int effect;
    bool brightness, speed, colour;
  };
  const Case cases[] = {
      {"mouse", 0, true, true, true},     // wave
      {"mouse", 4, true, true, true},     // blinking
      {"mouse", 1, true, true, false},    // spectrum
      {"mouse", 10, false, false, false}, // dark
      {"MousePad", 0, true, true, true},  // wave
      {"MousePad", 4, true, true, true},  // blinking
      {"MousePad", 3, true, false, true}, // steady
      {"HD", 2, true, true, true},        // breathing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " effect " + std::to_string(c.effect));
    DevicePage* page = Open(c.product);
    ChooseEffect(page, c.effect);
    EXPECT_EQ(Enabled(page, "deng_light_layout"), c.brightness);
    EXPECT_EQ(Enabled(page, "deng_speed_layout"), c.speed);
    EXPECT_EQ(Enabled(page, "deng_color_layout"), c.colour);
  }
}

TEST_F(PageLightingTest, UseOnAllDevicesAppearsWithSeveralDevicesAndLightsThemAlike) {
  DevicePage* pad = Open("MousePad");
  ChooseEffect(pad, 2);  // breathing: one of the effects every device can share
  auto* same = Control<QAbstractButton>(pad, "deng_same_mode");
  ASSERT_NE(same, nullptr);
  EXPECT_TRUE(same->isVisibleTo(pad));
  same->click();
  for (DevicePage* page : window_->Pages()) ASSERT_TRUE(WaitIdle(page));
  for (const char* product : {"mouse", "keyboard", "MousePad", "HD"}) {
    EXPECT_TRUE(DeviceOf(product)->Link().lightingHold.load()) << "not held: " << product;
  }
  EXPECT_EQ(PageOf("keyboard")->Client().Lighting().mode, 5);  // the keyboard's breathing
  EXPECT_EQ(PageOf("mouse")->Client().Lighting().mode, 2);

  // With the pad alone on the strip there is nothing to share with.
  emulator_.Mouse().Cable().Unplug();
  emulator_.Mouse().Receiver()->Unplug();
  emulator_.Keyboard().Cable().Unplug();
  emulator_.Headset().Cable().Unplug();
  ASSERT_TRUE(WaitShown({"MousePad"}));
  EXPECT_FALSE(same->isVisibleTo(pad));
  EXPECT_FALSE(DeviceOf("MousePad")->Link().lightingHold.load());
}

TEST_F(PageLightingTest, TheMousePictureOffersEveryButtonAndItsLogo) {
  DevicePage* page = Open("mouse");
  const std::vector<CDeviceKeyButtonUI*>& buttons = page->KeyButtons();
  for (int k = 1; k <= 10; ++k) {
    SCOPED_TRACE(k);
    ASSERT_NE(buttons.at(static_cast<size_t>(k)), nullptr);
    EXPECT_TRUE(buttons[static_cast<size_t>(k)]->isVisibleTo(page));
    buttons[static_cast<size_t>(k)]->click();
    EXPECT_EQ(page->SelectedKey(), k);
    EXPECT_EQ(page->Mouse()->KeyPanel()->Pair(), page->Client().KeyList().at(static_cast<size_t>(k)));
  }
  // Every button has its row in the list of functions.
  auto* list = Control<KeyInfoList>(page, "device_setkeyinfo_list");
  ASSERT_NE(list, nullptr);
  int shown_rows = 0;
  for (int row = 0; row < list->count(); ++row) shown_rows += list->item(row)->isHidden() ? 0 : 1;
  EXPECT_EQ(shown_rows, 11);

  // The logo names the effect and shows it.
  page->SetFunctionView(kLightingView);
  ChooseEffect(page, 3);
  ChooseColour(page, 255, 0, 0);
  auto* logo = Control<CDeviceKeyButtonUI>(page, "logo");
  ASSERT_NE(logo, nullptr);
  EXPECT_TRUE(logo->toolTip().endsWith(Translator::Instance().Text(QStringLiteral("light_mode_steady"))))
      << logo->toolTip().toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] { return logo->LightLevel() > 0; }, 3000));
}

}  // namespace
}  // namespace vorlin
