#pragma once

// The window with the emulated devices, its mouse page read and its preview running: the
// requests the mouse received, its memory, and switching it to its receiver.

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
    mouse_ = dynamic_cast<CHalvexMouseDevice*>(PageOf("mouse"));
    ASSERT_NE(mouse_, nullptr);
    // The start-up read ends by starting the preview.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mouse_->PreviewWorkerRunning(); }, 5000));
    emulator_.Bus()->ClearTrace();
  }
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
    return UserDataFolder(mouse_->Folders(), "mouse") + name;
  }
  void WriteFile(const char* name, const std::string& text) const {
    std::ofstream(UserFile(name)) << text;
  }
  FirmwareMemory Memory() { return emulator_.Mouse().GetFirmware().Snapshot(); }
  std::string Trace() const { return emulator_.TraceText(); }
  // Switches the mouse to its receiver and waits until it has been read through it.
  void SwitchToReceiver() {
    QSignalSpy refreshed(mouse_, &CHalvexMouseDevice::pageRefreshed);
    emulator_.Mouse().Cable().Unplug();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return mouse_->OnReceiver() && mouse_->LinkOpen() && refreshed.count() > 0; },
        8000));
    QTest::qWait(50);
    emulator_.Bus()->ClearTrace();
  }

  CHalvexMouseDevice* mouse_ = nullptr;
};

}  // namespace vorlin::test
