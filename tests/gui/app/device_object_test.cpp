// The device objects behind the pages, against the emulated devices: the frame and the page's
// buttons, host lighting, the window state they follow, the device's own requests to be read
// again, and the profile each page keeps across a restart. The devices share the test's thread
// here, so that their timers and state can be looked at directly.
#include <gtest/gtest.h>

#include <filesystem>

#include <QTest>

#include "hid/command_report.h"
#include "hid/device_link.h"
#include "main_window_fixture.h"
#include "profile_bar/device_profile_ui.h"
#include "profiles/basic_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "sim/emulated_peripheral.h"

namespace vorlin {
namespace {

class DeviceObjectTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  }
  bool DeviceThreads() const override { return false; }
  // Command reports written to the device of `productId` since the trace was cleared.
  int CommandsTo(uint16_t productId, uint8_t command) const {
    int count = 0;
    for (const TraceRecord& record : emulator_.Bus()->Trace()) {
      if (record.direction == TraceDirection::ToDevice && record.productId == productId &&
          record.bytes.size() > 3 && record.bytes[0] == kCommandReportId &&
          record.bytes[3] == command)
        ++count;
    }
    return count;
  }
};

TEST_F(DeviceObjectTest, TheFrameAndThePageHaveTheProductsKeys) {
  struct Case {
    const char* product;
    size_t keys;
    size_t lights;
  };
  for (const Case& c : {Case{"mouse", 15, 11}, Case{"MousePad", 15, 0}, Case{"HD", 13, 0}}) {
    SCOPED_TRACE(c.product);
    CHalvexUSBDevice* device = DeviceOf(c.product);
    DevicePage* page = PageOf(c.product);
    ASSERT_TRUE(device && page);
    EXPECT_EQ(device->Frame().size(), c.keys);
    EXPECT_EQ(page->KeyButtons().size(), c.keys);
    EXPECT_EQ(page->LightButtons().size(), c.lights);
    // The key buttons are found by name in the page's picture.
    EXPECT_NE(page->KeyButtons().front(), nullptr);
  }
}

TEST_F(DeviceObjectTest, OnlyTheKeyboardIsToldWhenThisProgramTakesItsLighting) {
  emulator_.Bus()->ClearTrace();
  window_->ToggleLightControl();  // let go
  window_->ToggleLightControl();  // take it again
  EXPECT_EQ(CommandsTo(kKeyboardProductId, kCmdHostLightingOn), 1);
  EXPECT_EQ(CommandsTo(kMouseCableProductId, kCmdHostLightingOn), 0);
  EXPECT_EQ(CommandsTo(kPadProductId, kCmdHostLightingOn), 0);
}

TEST_F(DeviceObjectTest, OnlyADeviceWithAStatusPanelPausesWhileTheWindowIsHidden) {
  CHalvexUSBDevice* mouse = DeviceOf("mouse");
  CHalvexUSBDevice* pad = DeviceOf("MousePad");
  ASSERT_TRUE(mouse && pad);
  mouse->SetWindowHidden(true);
  pad->SetWindowHidden(true);
  EXPECT_TRUE(mouse->WindowHidden());
  EXPECT_FALSE(pad->WindowHidden());
  mouse->SetWindowHidden(false);
  EXPECT_FALSE(mouse->WindowHidden());
}

TEST_F(DeviceObjectTest, ADeviceAskingToBeReadAgainArmsItsResync) {
  CHalvexUSBDevice* pad = DeviceOf("MousePad");
  ASSERT_NE(pad, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return pad->EventInterfaceOpen(3); }, 2000));
  EXPECT_FALSE(pad->Scheduler().Pending(DeviceScheduler::kResync));
  ASSERT_TRUE(emulator_.MousePad().RequestResync());
  // The pad waits half a second before it reads, so the timer is seen pending.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return pad->Scheduler().Pending(DeviceScheduler::kResync); }, 1000));
  // Other events leave it alone.
  CHalvexUSBDevice* mouse = DeviceOf("mouse");
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse->EventInterfaceOpen(2); }, 2000));
  ASSERT_TRUE(emulator_.Mouse().Click());
  QTest::qWait(100);
  EXPECT_FALSE(mouse->Scheduler().Pending(DeviceScheduler::kResync));
}

TEST_F(DeviceObjectTest, EveryPageKeepsItsCurrentProfileAcrossARestart) {
  for (DevicePage* page : window_->Pages()) {
    SCOPED_TRACE(page->Product().dataName);
    CHalvexUSBDevice* device = DeviceOf(page->Product().dataName.c_str());
    ASSERT_NE(page->ProfileBar(), nullptr);
    EXPECT_EQ(device->ProfileId(), page->ProfileBar()->GetCurrentProfileId());
    // The profile's document exists and holds the device's entry, seeded from the factory one.
    const std::string path = device->ProfileData().GetProfilePath();
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const Json::Value document = JsonFileIo::ReadJsonFile(path);
    EXPECT_TRUE(Member(Element(Member(document, "Device"), 0), "KeyList").isArray());
  }

  // A new profile on the mouse page becomes the page's current one...
  CHalvexUSBDevice* mouse = DeviceOf("mouse");
  const std::string before = mouse->ProfileId();
  ASSERT_TRUE(PageOf("mouse")->ProfileBar()->AddProfile().ok());
  const std::string added = mouse->ProfileId();
  EXPECT_NE(added, before);
  EXPECT_EQ(added, PageOf("mouse")->ProfileBar()->GetCurrentProfileId());
  EXPECT_TRUE(std::filesystem::exists(mouse->ProfileData().GetProfilePath()));

  // ...and is still current after a restart, while the others kept theirs.
  const std::string pad_profile = DeviceOf("MousePad")->ProfileId();
  RestartWindow();
  EXPECT_EQ(DeviceOf("mouse")->ProfileId(), added);
  EXPECT_EQ(DeviceOf("MousePad")->ProfileId(), pad_profile);
}

}  // namespace
}  // namespace vorlin
