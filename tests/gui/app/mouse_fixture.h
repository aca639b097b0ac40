#pragma once

// The window with the emulated devices, its mouse read and its preview running: the requests the
// mouse received, its memory, and switching it to its receiver. By default the mouse's device
// object shares the test's thread, so that a test may call into it directly; a fixture that
// drives the page as a user does runs it on its own thread, as the program does, and looks only
// at what the page shows, the mouse's memory and the documents.

#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "hid/command_report.h"
#include "main_window_fixture.h"
#include "profiles/profile_folders.h"
#include "sim/emulated_peripheral.h"

namespace vorlin::test {

using Report = std::vector<uint8_t>;

class MouseFixture : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
    mouse_ = dynamic_cast<CHalvexMouseDevice*>(DeviceOf("mouse"));
    ASSERT_NE(mouse_, nullptr);
    page_ = PageOf("mouse");
    ASSERT_NE(page_, nullptr);
    if (DeviceThreads()) {
      // The page shows the mouse once its start-up read is done.
      ASSERT_TRUE(QTest::qWaitFor(
          [&] {
            const std::optional<MouseView>& view = page_->Client().View().mouse;
            return view && view->deviceInfo[5] != 0;
          },
          5000));
      QTest::qWait(50);
    } else {
      // The start-up read ends by starting the preview.
      ASSERT_TRUE(QTest::qWaitFor([&] { return mouse_->PreviewWorkerRunning(); }, 5000));
    }
    emulator_.Bus()->ClearTrace();
  }
  bool DeviceThreads() const override { return false; }
  void TearDown() override {
    for (const char* name : {"macro.config", "m1.mac", "m2.mac", "ShootData_0.Shoot"})
      std::filesystem::remove(UserFile(name));
    MainWindowFixture::TearDown();
  }

  // Command requests to the product `productId`, without the status polls and wireless probes
  // the timers send in between.
  std::vector<Report> Requests(uint16_t productId, bool withProbes = false) const {
    std::vector<Report> requests;
    for (const TraceRecord& record : emulator_.Bus()->Trace()) {
      if (record.direction != TraceDirection::ToDevice || record.productId != productId ||
          record.bytes.size() < 4 || record.bytes[0] != kCommandReportId)
        continue;
      const uint8_t code = record.bytes[3];
      if (code == kCmdReadStatus || (code == kCmdProbeWireless && !withProbes)) continue;
      requests.push_back(record.bytes);
    }
    return requests;
  }
  int CountOf(uint16_t productId, uint8_t code) const {
    int count = 0;
    for (const Report& r : Requests(productId, true)) count += r[3] == code ? 1 : 0;
    return count;
  }
  std::string UserFile(const char* name) const {
    return UserDataFolder(window_->Devices()->Folders(), "mouse") + name;
  }
  void WriteFile(const char* name, const std::string& text) const {
    std::ofstream(UserFile(name)) << text;
  }
  FirmwareMemory Memory() { return emulator_.Mouse().GetFirmware().Snapshot(); }
  std::string Trace() const { return emulator_.TraceText(); }
  // Switches the mouse to its receiver and waits until it has been read through it.
  void SwitchToReceiver() {
    emulator_.Mouse().Cable().Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mouse_->OnReceiver() && mouse_->LinkOpen(); }, 8000));
    QTest::qWait(50);
    emulator_.Bus()->ClearTrace();
  }

  CHalvexMouseDevice* mouse_ = nullptr;
  DevicePage* page_ = nullptr;
};

}  // namespace vorlin::test
