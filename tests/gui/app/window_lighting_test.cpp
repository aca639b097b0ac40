// The window's lighting over every connected device: the synchronised mode puts each device on its
// own number for the selected device's effect and one thread lights them alike; a game's effect
// lasts five seconds and the device returns to the effect it had before. The devices run on
// their own threads; the test reads what their pages show, their links' holds and their frames.
#include <gtest/gtest.h>

#include <QTest>

#include "hid/device_link.h"
#include "main_window_fixture.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"

namespace vorlin {
namespace {

class WindowLightingTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
    ASSERT_EQ(window_->SelectedPage(), PageOf("mouse"));
  }
  void SetEffect(const char* product, uint8_t effect) {
    DevicePage* page = PageOf(product);
    LightSettings settings = page->Client().Lighting();
    settings.mode = effect;
    settings.brightness = 4;
    page->Client().SetLighting(settings, true);
    ASSERT_TRUE(WaitIdle(page));
  }
  uint8_t EffectOf(const char* product) const {
    return PageOf(product)->Client().Lighting().mode;
  }
  bool Held(const char* product) const { return DeviceOf(product)->Link().lightingHold.load(); }
  bool AllIdle() const {
    for (DevicePage* page : window_->Pages()) {
      if (!WaitIdle(page)) return false;
    }
    return true;
  }
  // The effect the profile document of `product` keeps.
  int DocumentEffect(const char* product) const {
    const Json::Value document =
        JsonFileIo::ReadJsonFile(PageOf(product)->Client().View().profilePath);
    return ReadInt(Member(Element(Member(document, "Device"), 0), "LightInfo"), "SelectItem");
  }
};

TEST_F(WindowLightingTest, SynchronisedModeTakesEveryDeviceToTheSameEffect) {
  // Effect 5 is the mouse's ripple, which has no common form: nothing changes.
  SetEffect("mouse", 5);
  window_->SyncLighting();
  for (const char* product : {"mouse", "keyboard", "MousePad", "HD"}) EXPECT_FALSE(Held(product));

  // Breathing (the mouse's 2): the keyboard's breathing is 5, the others' 2.
  SetEffect("mouse", 2);
  window_->SyncLighting();
  ASSERT_TRUE(AllIdle());
  EXPECT_EQ(EffectOf("keyboard"), 5);
  EXPECT_EQ(EffectOf("mouse"), 2);
  EXPECT_EQ(EffectOf("MousePad"), 2);
  EXPECT_EQ(EffectOf("HD"), 2);
  for (const char* product : {"mouse", "keyboard", "MousePad", "HD"}) EXPECT_TRUE(Held(product));
  // The choice is kept in each device's profile.
  EXPECT_EQ(DocumentEffect("keyboard"), 5);
  EXPECT_EQ(DocumentEffect("MousePad"), 2);

  // One thread lights them alike: the pad's and the headset's frames show the same entry.
  const KeyColorFrame& pad = DeviceOf("MousePad")->Frame();
  const KeyColorFrame& headset = DeviceOf("HD")->Frame();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        const uint32_t entry = pad.GetKeyColor(0);
        return entry != 0 && headset.GetKeyColor(0) == entry && pad.GetKeyColor(5) == entry;
      },
      2000));

  // One device left on the strip: every device leaves the synchronised mode.
  emulator_.Keyboard().Cable().Unplug();
  emulator_.MousePad().Cable().Unplug();
  emulator_.Headset().Cable().Unplug();
  ASSERT_TRUE(WaitShown({"mouse"}));
  EXPECT_FALSE(Held("mouse"));
}

TEST_F(WindowLightingTest, AGameEffectLastsFiveSecondsThenTheDeviceReturns) {
  SetEffect("mouse", 3);
  DeviceOf("mouse")->Link().lightingHold.store(true);
  window_->OnGameMessage(GameMessage::kStart, 0, 4);
  EXPECT_EQ(EffectOf("mouse"), 4);
  ASSERT_TRUE(WaitIdle(PageOf("mouse")));
  EXPECT_FALSE(Held("mouse"));
  EXPECT_EQ(PageOf("mouse")->Client().Lighting().old_mode, 3);
  // A kill during the game changes the effect but keeps the one to return to.
  window_->OnGameMessage(GameMessage::kKill, 1, 7);
  EXPECT_EQ(EffectOf("mouse"), 7);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EffectOf("mouse") == 3; }, 6500));
  ASSERT_TRUE(WaitIdle(PageOf("mouse")));
  EXPECT_EQ(DocumentEffect("mouse"), 3);
  EXPECT_EQ(emulator_.Mouse().GetFirmware().Snapshot().params[1], 3);  // the mouse runs it again

  // An effect of 0 (or above 20) before the game returns to 1.
  SetEffect("mouse", 0);
  window_->OnGameMessage(GameMessage::kStart, 0, 4);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EffectOf("mouse") == 1; }, 6500));
}

}  // namespace
}  // namespace vorlin
