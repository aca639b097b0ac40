// The device objects behind the pages, against the emulated devices: the frame and key records,
// host lighting, the window state they follow, the device's own requests to be read again, and
// the profile each page keeps across a restart.
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

TEST_F(DeviceObjectTest, FrameEntriesStayInsideTheKeysAndACountResetClearsThem) {
  CHalvexUSBDevice* mouse = PageOf("mouse");
  ASSERT_NE(mouse, nullptr);
  const int keys = mouse->KeyCount();
  ASSERT_EQ(keys, 15);
  EXPECT_EQ(mouse->LightCount(), 11);
  mouse->SetKeyColor(0, 0xFF0000FFu);
  mouse->SetKeyColor(keys - 1, 0x80112233u);
  mouse->SetKeyColor(-1, 0x12345678u);
  mouse->SetKeyColor(keys, 0x12345678u);
  EXPECT_EQ(mouse->GetKeyColor(0), 0xFF0000FFu);
  EXPECT_EQ(mouse->GetKeyColor(keys - 1), 0x80112233u);
  EXPECT_EQ(mouse->GetKeyColor(-1), 0u);
  EXPECT_EQ(mouse->GetKeyColor(keys), 0u);

  // The same count again still starts every key afresh.
  mouse->SetKeyCount(keys);
  EXPECT_EQ(mouse->GetKeyColor(0), 0u);
  EXPECT_EQ(mouse->GetKeyColor(keys - 1), 0u);
  ASSERT_EQ(mouse->KeyRecords().size(), static_cast<size_t>(keys));
  for (const auto& record : mouse->KeyRecords()) EXPECT_EQ(record, CHalvexUSBDevice::KeyRecord{});
  // The key buttons found by name in the page's picture stay.
  EXPECT_NE(mouse->KeyButtons().front(), nullptr);
}

TEST_F(DeviceObjectTest, OnlyTheKeyboardIsToldWhenThisProgramTakesItsLighting) {
  emulator_.Bus()->ClearTrace();
  for (CHalvexUSBDevice* page : window_->Pages()) {
    page->SetHostLighting(false);
    page->SetHostLighting(true);
  }
  EXPECT_EQ(CommandsTo(kKeyboardProductId, kCmdHostLightingOn), 1);
  EXPECT_EQ(CommandsTo(kMouseCableProductId, kCmdHostLightingOn), 0);
  EXPECT_EQ(CommandsTo(kPadProductId, kCmdHostLightingOn), 0);
}

TEST_F(DeviceObjectTest, OnlyADeviceWithAStatusPanelPausesWhileTheWindowIsHidden) {
  CHalvexUSBDevice* mouse = PageOf("mouse");
  CHalvexUSBDevice* pad = PageOf("MousePad");
  ASSERT_TRUE(mouse && pad);
  mouse->SetWindowHidden(true);
  pad->SetWindowHidden(true);
  EXPECT_TRUE(mouse->WindowHidden());
  EXPECT_FALSE(pad->WindowHidden());
  mouse->SetWindowHidden(false);
  EXPECT_FALSE(mouse->WindowHidden());
}

TEST_F(DeviceObjectTest, ADeviceAskingToBeReadAgainArmsItsResync) {
  CHalvexUSBDevice* pad = PageOf("MousePad");
  ASSERT_NE(pad, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return pad->EventInterfaceOpen(3); }, 2000));
  EXPECT_FALSE(pad->Scheduler().Pending(DeviceScheduler::kResync));
  ASSERT_TRUE(emulator_.MousePad().RequestResync());
  // The pad waits half a second before it reads, so the timer is seen pending.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return pad->Scheduler().Pending(DeviceScheduler::kResync); }, 1000));
  // Other events leave it alone.
  CHalvexUSBDevice* mouse = PageOf("mouse");
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse->EventInterfaceOpen(2); }, 2000));
  ASSERT_TRUE(emulator_.Mouse().Click());
  QTest::qWait(100);
  EXPECT_FALSE(mouse->Scheduler().Pending(DeviceScheduler::kResync));
}

TEST_F(DeviceObjectTest, EveryPageKeepsItsCurrentProfileAcrossARestart) {
  for (CHalvexUSBDevice* page : window_->Pages()) {
    SCOPED_TRACE(page->Init().dataName.toStdString());
    ASSERT_NE(page->ProfileBar(), nullptr);
    EXPECT_EQ(page->ProfileId(), page->ProfileBar()->GetCurrentProfileId());
    // The profile's document exists and holds the device's entry, seeded from the factory one.
    const std::string path = page->ProfileData().GetProfilePath();
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const Json::Value document = JsonFileIo::ReadJsonFile(path);
    EXPECT_TRUE(Member(Element(Member(document, "Device"), 0), "KeyList").isArray());
  }

  // A new profile on the mouse page becomes the page's current one...
  CHalvexUSBDevice* mouse = PageOf("mouse");
  const std::string before = mouse->ProfileId();
  ASSERT_TRUE(mouse->ProfileBar()->AddProfile().ok());
  const std::string added = mouse->ProfileId();
  EXPECT_NE(added, before);
  EXPECT_EQ(added, mouse->ProfileBar()->GetCurrentProfileId());
  EXPECT_TRUE(std::filesystem::exists(mouse->ProfileData().GetProfilePath()));

  // ...and is still current after a restart, while the others kept theirs.
  const std::string pad_profile = PageOf("MousePad")->ProfileId();
  RestartWindow();
  EXPECT_EQ(PageOf("mouse")->ProfileId(), added);
  EXPECT_EQ(PageOf("MousePad")->ProfileId(), pad_profile);
}

}  // namespace
}  // namespace vorlin
