// An event interface against the emulated mouse: the reader hands over the code of every event the
// device reports, closing ends its waiting read at once, and an interface that goes away while it
// is open ends its reader without spinning.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "devices/event_interface.h"
#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "sim/device_emulator.h"
#include "sim/emulated_peripheral.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

class EventInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { HidBackends::Add(emulator_.Bus()); }
  void TearDown() override { HidBackends::Remove(emulator_.Bus()); }

  // The path of the mouse cable's event collection.
  std::string MouseEventPath() {
    const std::string node = emulator_.Mouse().Cable().EventNode();
    HidDevice scan;
    scan.EnumerateInterfaces();
    while (const std::string* path = scan.NextInterfacePath()) {
      if (path->find(":" + node + "?") != std::string::npos &&
          path->find("&col03") != std::string::npos)
        return *path;
    }
    return {};
  }

  void OnEvent(uint16_t code) {
    std::lock_guard lock(mutex_);
    codes_.push_back(code);
    changed_.notify_all();
  }
  bool WaitForCodes(size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 2s, [&] { return codes_.size() >= count; });
  }
  std::vector<uint16_t> Codes() {
    std::lock_guard lock(mutex_);
    return codes_;
  }

  DeviceEmulator emulator_{nullptr, DeviceEmulatorOptions{.plugMouseReceiver = false,
                                                          .plugKeyboard = false,
                                                          .plugMousePad = false,
                                                          .plugHeadset = false}};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint16_t> codes_;
};

TEST_F(EventInterfaceTest, HandsOverEveryEventCodeAndClosesAtOnce) {
  const std::string path = MouseEventPath();
  ASSERT_FALSE(path.empty());
  EventInterface events("test reader ended", 500ms);
  ASSERT_TRUE(events.Open(path, [this](uint16_t code, std::span<const uint8_t>) { OnEvent(code); }));
  EXPECT_TRUE(events.IsOpen());
  EXPECT_EQ(events.Path(), path);

  ASSERT_TRUE(emulator_.Mouse().RequestResync());
  ASSERT_TRUE(emulator_.Mouse().Click());
  ASSERT_TRUE(emulator_.Mouse().SwitchProfile(2));
  ASSERT_TRUE(WaitForCodes(3));
  EXPECT_EQ(Codes(), (std::vector<uint16_t>{0x0401, 0x0403, 0x1002}));

  // The reader sits in a read without a time limit; closing must end it well within its bound.
  const auto start = std::chrono::steady_clock::now();
  events.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 400ms);
  EXPECT_FALSE(events.IsOpen());
  EXPECT_TRUE(events.Path().empty());

  // Nothing arrives after the close; opening again reads again.
  ASSERT_TRUE(emulator_.Mouse().RequestResync());
  ASSERT_TRUE(events.Open(path, [this](uint16_t code, std::span<const uint8_t>) { OnEvent(code); }));
  ASSERT_TRUE(emulator_.Mouse().RequestFullReload());
  ASSERT_TRUE(WaitForCodes(4));
  EXPECT_EQ(Codes().back(), 0x0402);
  EXPECT_EQ(Codes().size(), 4u);
}

TEST_F(EventInterfaceTest, APathThatCannotBeOpenedStartsNoReader) {
  EventInterface events("test reader ended", 500ms);
  EXPECT_FALSE(events.Open("virtual:nowhere?vid_320f&pid_225e&mi_01&col03", nullptr));
  EXPECT_FALSE(events.IsOpen());
  events.Close();  // nothing to do
}

TEST_F(EventInterfaceTest, UnplugWhileOpenEndsTheReaderOnClose) {
  const std::string path = MouseEventPath();
  ASSERT_FALSE(path.empty());
  EventInterface events("test reader ended", 500ms);
  ASSERT_TRUE(events.Open(path, [this](uint16_t code, std::span<const uint8_t>) { OnEvent(code); }));
  emulator_.Mouse().Cable().Unplug();
  // The reads fail from now on; the reader waits between tries until it is closed.
  const auto start = std::chrono::steady_clock::now();
  events.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 400ms);
  EXPECT_TRUE(Codes().empty());
}

}  // namespace
}  // namespace vorlin
