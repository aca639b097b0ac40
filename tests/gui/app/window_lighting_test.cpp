// The window's lighting over every connected device: the synchronised mode puts each device on its
// own number for the selected device's effect and one thread lights them alike; a game's effect
// lasts five seconds and the device returns to the effect it had before.
#include <gtest/gtest.h>

#include <QTest>

#include "hid/device_link.h"
#include "profiles/basic_profile_data.h"
#include "main_window_fixture.h"

namespace vorlin {
namespace {

LightWords WordsWithEffect(const LightWords& words, uint8_t effect) {
  LightSettings settings = LightSettingsFromWords(words);
  settings.mode = effect;
  settings.brightness = 4;
  return LightSettingsToWords(settings);
}

uint8_t EffectOf(const CHalvexUSBDevice* device) {
  return LightSettingsFromWords(device->GetLightWords()).mode;
}

class WindowLightingTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
    ASSERT_EQ(window_->SelectedDevice(), PageOf("mouse"));
  }
  void SetEffect(CHalvexUSBDevice* device, uint8_t effect) {
    const LightWords words = WordsWithEffect(device->GetLightWords(), effect);
    device->SetLightWords(words.word0, words.word1, words.word2, words.word3);
  }
};

TEST_F(WindowLightingTest, SynchronisedModeTakesEveryDeviceToTheSameEffect) {
  // Effect 5 is the mouse's ripple, which has no common form: nothing changes.
  CHalvexUSBDevice* mouse = PageOf("mouse");
  SetEffect(mouse, 5);
  window_->SyncLighting();
  for (CHalvexUSBDevice* page : window_->Pages()) EXPECT_FALSE(page->Link().lightingHold.load());

  // Breathing (the mouse's 2): the keyboard's breathing is 5, the others' 2.
  SetEffect(mouse, 2);
  window_->SyncLighting();
  EXPECT_EQ(EffectOf(PageOf("keyboard")), 5);
  EXPECT_EQ(EffectOf(mouse), 2);
  EXPECT_EQ(EffectOf(PageOf("MousePad")), 2);
  EXPECT_EQ(EffectOf(PageOf("HD")), 2);
  for (CHalvexUSBDevice* page : window_->Pages()) EXPECT_TRUE(page->Link().lightingHold.load());
  // The choice is kept in each device's profile.
  EXPECT_EQ(PageOf("keyboard")->ProfileData().GetLightSettings().mode, 5);

  // One thread lights them alike: the pad's and the headset's frames show the same entry.
  CHalvexUSBDevice* pad = PageOf("MousePad");
  CHalvexUSBDevice* headset = PageOf("HD");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        const uint32_t entry = pad->GetKeyColor(0);
        return entry != 0 && headset->GetKeyColor(0) == entry && pad->GetKeyColor(5) == entry;
      },
      2000));

  // One device left on the strip: every device leaves the synchronised mode.
  emulator_.Keyboard().Cable().Unplug();
  emulator_.MousePad().Cable().Unplug();
  emulator_.Headset().Cable().Unplug();
  ASSERT_TRUE(WaitShown({"mouse"}));
  EXPECT_FALSE(mouse->Link().lightingHold.load());
}

TEST_F(WindowLightingTest, AGameEffectLastsFiveSecondsThenTheDeviceReturns) {
  CHalvexUSBDevice* mouse = PageOf("mouse");
  SetEffect(mouse, 3);
  mouse->Link().lightingHold.store(true);
  window_->OnGameMessage(GameMessage::kStart, 0, 4);
  EXPECT_EQ(EffectOf(mouse), 4);
  EXPECT_FALSE(mouse->Link().lightingHold.load());
  EXPECT_EQ(LightSettingsFromWords(mouse->GetLightWords()).old_mode, 3);
  // A kill during the game changes the effect but keeps the one to return to.
  window_->OnGameMessage(GameMessage::kKill, 1, 7);
  EXPECT_EQ(EffectOf(mouse), 7);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EffectOf(mouse) == 3; }, 6500));
  EXPECT_EQ(mouse->ProfileData().GetLightSettings().mode, 3);

  // An effect of 0 (or above 20) before the game returns to 1.
  SetEffect(mouse, 0);
  window_->OnGameMessage(GameMessage::kStart, 0, 4);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EffectOf(mouse) == 1; }, 6500));
}

}  // namespace
}  // namespace vorlin
