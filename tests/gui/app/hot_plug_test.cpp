// The window following the devices as they come and go, one step after another the way a user
// plugs them, and a storm of plugging and unplugging that must leave no thread or descriptor
// behind.
#include <gtest/gtest.h>

#include <filesystem>

#include <QTest>

#include "hid/device_link.h"
#include "main_window_fixture.h"
#include "sim/emulated_device.h"
#include "sim/emulated_peripheral.h"
#include "ui/find_control.h"

namespace vorlin {
namespace {

size_t EntriesIn(const char* folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}
size_t ThreadCount() { return EntriesIn("/proc/self/task"); }
size_t DescriptorCount() { return EntriesIn("/proc/self/fd"); }

class HotPlugTest : public test::MainWindowFixture {
 protected:
  // The window starts with nothing plugged in.
  HotPlugTest() { emulator_.UnplugAll(); }

  bool NoDeviceNoticeShown() const {
    QWidget* notice = FindControl(window_->Window(), QStringLiteral("No_device_Link"));
    return notice && notice->isVisibleTo(window_->Window());
  }
  EmulatedPeripheral& Mouse() { return emulator_.Mouse(); }
};

TEST_F(HotPlugTest, TheMouseComesAndGoesByCableAndReceiver) {
  // Nothing plugged in: the window is shown anyway, with the notice.
  EXPECT_TRUE(window_->Window()->isVisible());
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_TRUE(NoDeviceNoticeShown());
  // The device runs on its own thread: the test reads only its atomics and what its page shows.
  CHalvexUSBDevice* mouse = DeviceOf("mouse");
  DevicePage* page = PageOf("mouse");
  ASSERT_TRUE(mouse && page);
  const std::string profile = page->Client().View().profileId;
  EXPECT_FALSE(profile.empty());

  // By cable.
  ASSERT_TRUE(Mouse().Cable().Plug());
  ASSERT_TRUE(WaitShown({"mouse"}));
  EXPECT_FALSE(NoDeviceNoticeShown());
  EXPECT_TRUE(mouse->LinkOpen());
  EXPECT_FALSE(mouse->OnReceiver());
  EXPECT_TRUE(QTest::qWaitFor([&] { return mouse->EventInterfaceOpen(2); }, 2000));
  // The preview follows the device once it is connected.
  EXPECT_TRUE(QTest::qWaitFor([&] { return page->FrameTimerRunning(); }, 2000));
  EXPECT_EQ(page->Client().View().connection, ConnectionKind::kCable);

  // Its receiver while the cable is in: the cable stays in charge.
  ASSERT_TRUE(Mouse().Receiver()->Plug());
  EXPECT_TRUE(QTest::qWaitFor([&] { return mouse->EventInterfaceOpen(6); }, 2000));
  EXPECT_FALSE(mouse->OnReceiver());
  EXPECT_FALSE(mouse->Link().IsWireless());

  // The cable goes: the same page carries on through the receiver.
  Mouse().Cable().Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse->OnReceiver(); }, 2000));
  EXPECT_EQ(PageOf("mouse"), page);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return page->Client().View().connection == ConnectionKind::kReceiver; }, 2000));
  EXPECT_TRUE(mouse->LinkOpen());
  EXPECT_TRUE(mouse->Link().IsWireless());
  EXPECT_EQ(Shown(), QStringList{"mouse"});

  // Switched off behind the receiver: the option goes, and comes back once the mouse answers.
  Mouse().SetPoweredOn(false);
  EXPECT_TRUE(WaitShown({}, 4500));
  EXPECT_TRUE(mouse->LinkOpen());  // the receiver is still there
  Mouse().SetPoweredOn(true);
  EXPECT_TRUE(WaitShown({"mouse"}, 4500));

  // Everything out: the notice.
  emulator_.UnplugAll();
  ASSERT_TRUE(WaitShown({}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !mouse->LinkOpen(); }, 2000));
  EXPECT_TRUE(NoDeviceNoticeShown());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !page->FrameTimerRunning(); }, 2000));

  // Back in: the same page with the same profile.
  ASSERT_TRUE(Mouse().Cable().Plug());
  ASSERT_TRUE(WaitShown({"mouse"}));
  EXPECT_EQ(PageOf("mouse"), page);
  EXPECT_EQ(page->Client().View().profileId, profile);
  EXPECT_EQ(window_->Pages().size(), 4u);
}

TEST_F(HotPlugTest, APlugStormLeavesNoThreadOrDescriptorBehind) {
  auto plug_all = [&] {
    for (EmulatedPeripheral* product : emulator_.All()) product->Cable().Plug();
    Mouse().Receiver()->Plug();
  };
  const QStringList all = {"mouse", "keyboard", "MousePad", "HD"};
  // One full round first, so that what the window creates once (threads of its own, cached
  // files, the lighting workers that live from a device's first start-up to the end) is counted
  // in the baseline.
  plug_all();
  ASSERT_TRUE(WaitShown(all));
  QTest::qWait(300);  // past every start-up timer
  emulator_.UnplugAll();
  ASSERT_TRUE(WaitShown({}));
  QTest::qWait(100);
  const size_t threads = ThreadCount();
  const size_t descriptors = DescriptorCount();

  for (int cycle = 0; cycle < 500; ++cycle) {
    plug_all();
    // Let the window take some of the changes in and miss others, as it would with a flaky hub.
    QTest::qWait(cycle % 25 == 0 ? 30 : 1);
    emulator_.UnplugAll();
    QTest::qWait(cycle % 7 == 0 ? 10 : 0);
  }
  ASSERT_TRUE(WaitShown({}, 5000));

  // Still working after the storm.
  plug_all();
  ASSERT_TRUE(WaitShown(all, 5000));
  for (CHalvexUSBDevice* device : window_->Devices()->Devices()) EXPECT_TRUE(device->LinkOpen());
  emulator_.UnplugAll();
  ASSERT_TRUE(WaitShown({}, 5000));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return ThreadCount() <= threads && DescriptorCount() <= descriptors; }, 3000))
      << "threads " << ThreadCount() << " (was " << threads << "), descriptors "
      << DescriptorCount() << " (was " << descriptors << ")";
}

}  // namespace
}  // namespace vorlin
