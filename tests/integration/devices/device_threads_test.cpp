// The device objects on threads of their own, without a window, as the program runs them: they
// connect, take their pages' commands in order, follow plugging and unplugging while commands are
// in flight, and stop without leaving a thread behind. This runs under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "hid/hid_backend.h"
#include "sim/device_emulator.h"
#include "sim/emulated_device.h"

namespace vorlin {
namespace {

class DeviceThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HidBackends::Add(emulator_.Bus());
    DeviceManagerOptions options;
    options.folders = {VORLIN_SOURCE_DIR "/data", folder_.path().toStdString()};
    options.scanner.rescanInterval = std::chrono::milliseconds(20);
    manager_ = std::make_unique<DeviceManager>(ProductCatalogue::BuiltIn(), std::move(options));
    manager_->CreateDevices();
    ASSERT_TRUE(manager_->StartDiscovery());
  }
  void TearDown() override {
    manager_.reset();
    HidBackends::Remove(emulator_.Bus());
  }
  DeviceClient& Client(const char* product) {
    return *manager_->Client(*manager_->Catalogue().FindByDataName(product));
  }
  bool WaitRead(const char* product, int timeoutMs = 5000) {
    DeviceClient& client = Client(product);
    return QTest::qWaitFor([&] { return client.View().deviceRead; }, timeoutMs);
  }
  static LightSettings Steady(uint8_t mode, uint8_t red) {
    LightSettings settings;
    settings.mode = mode;
    settings.brightness = 4;
    settings.red = red;
    return settings;
  }

  QTemporaryDir folder_;
  DeviceEmulator emulator_;
  std::unique_ptr<DeviceManager> manager_;
};

TEST_F(DeviceThreadsTest, CommandsReachTheirDevicesInOrder) {
  ASSERT_TRUE(WaitRead("mouse"));
  ASSERT_TRUE(WaitRead("MousePad"));
  DeviceClient& mouse = Client("mouse");
  DeviceClient& pad = Client("MousePad");
  // Many changes at once: the last one is what each device holds.
  for (uint8_t red = 1; red <= 40; ++red) {
    mouse.SetLighting(Steady(3, red), true);
    pad.SetLighting(Steady(3, red), true);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse.Idle() && pad.Idle(); }, 10000));
  EXPECT_EQ(emulator_.Mouse().GetFirmware().Snapshot().params[6], 40);
  EXPECT_EQ(emulator_.MousePad().GetFirmware().Snapshot().params[6], 40);
  EXPECT_EQ(mouse.Lighting().red, 40);
}

TEST_F(DeviceThreadsTest, PluggingAndUnpluggingWhileCommandsAreInFlight) {
  ASSERT_TRUE(WaitRead("mouse"));
  DeviceClient& mouse = Client("mouse");
  for (int cycle = 0; cycle < 30; ++cycle) {
    mouse.SetLighting(Steady(3, static_cast<uint8_t>(cycle)), true);
    if (cycle % 2 == 0) {
      emulator_.Mouse().Cable().Unplug();
      emulator_.Mouse().Receiver()->Unplug();
    } else {
      emulator_.Mouse().Cable().Plug();
      emulator_.Mouse().Receiver()->Plug();
    }
    QTest::qWait(cycle % 5 == 0 ? 30 : 2);
  }
  emulator_.Mouse().Cable().Plug();
  emulator_.Mouse().Receiver()->Plug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse.Idle(); }, 10000));
  // Back by cable and read again; a last change reaches it.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return mouse.View().connection == ConnectionKind::kCable && mouse.View().deviceRead;
      },
      8000));
  mouse.SetLighting(Steady(3, 99), true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse.Idle(); }, 5000));
  EXPECT_EQ(emulator_.Mouse().GetFirmware().Snapshot().params[6], 99);
}

TEST_F(DeviceThreadsTest, StoppingEndsEveryThreadEvenWithASilentDevice) {
  ASSERT_TRUE(WaitRead("mouse"));
  emulator_.MousePad().Cable().Unplug();
  emulator_.MousePad().Cable().DropReplies(100000);
  emulator_.MousePad().Cable().Plug();
  QTest::qWait(200);  // the pad's start-up read waits for answers that do not come
  const auto start = std::chrono::steady_clock::now();
  manager_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(manager_->Device(0), nullptr);
}

}  // namespace
}  // namespace vorlin
