#pragma once

// A main window over the emulated devices, laid out at 96 DPI without the system bus (and without
// the session bus unless the fixture asks for it), and shown once its first look for devices is
// done. The devices run on threads of their own, as in the program; a fixture that calls into a
// device object directly keeps them on the test's thread instead (DeviceThreads).

#include <gtest/gtest.h>

#include <memory>

#include <QTest>

#include "app/main_window.h"
#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "hid/hid_backend.h"
#include "input_qt/window_input_source.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "sim/device_emulator.h"

namespace vorlin::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    HidBackends::Add(emulator_.Bus());
    OpenWindow();
  }
  // Closes the window and opens a new one, as a restart of the program would.
  void RestartWindow() {
    window_.reset();
    OpenWindow();
  }
  void OpenWindow() {
    MainWindowOptions options;
    options.useSessionBus = SessionBus();
    options.followSleep = false;
    options.forcedDpi = ForcedDpi();
    options.deviceThreads = DeviceThreads();
    // Never the machine's own keyboards: key capture sees the window's keys only.
    options.inputCapture = [](QWidget* window) {
      return std::make_unique<CDeviceHook>(nullptr, std::make_unique<WindowInputSource>(window));
    };
    window_ = std::make_unique<CMainWnd>(std::move(options));
    ASSERT_TRUE(window_->Create());
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->FirstPassSeen(); }, 5000));
  }
  void TearDown() override {
    window_.reset();
    HidBackends::Remove(emulator_.Bus());
  }
  // Whether the devices run on threads of their own.
  virtual bool DeviceThreads() const { return true; }
  // Whether the window offers its session-bus interface (only on a test's private bus).
  virtual bool SessionBus() const { return false; }
  // The window's scale.
  virtual int ForcedDpi() const { return 96; }

  // The options shown, by their device's data name.
  QStringList Shown() const {
    QStringList names;
    for (CDeviceOptionUI* option : window_->Options()) {
      if (option->Shown()) names << option->property("dataName").toString();
    }
    return names;
  }
  // Waits until exactly these options are shown and, with devices on their own threads, every
  // shown device has been read (its start-up read done, so that it changes nothing later).
  bool WaitShown(const QStringList& expected, int timeoutMs = 3000) {
    return QTest::qWaitFor(
        [&] {
          if (Shown() != expected) return false;
          if (!DeviceThreads()) return true;
          for (const QString& name : expected) {
            DevicePage* page = PageOf(name.toLatin1().constData());
            if (!page || !page->Client().View().deviceRead) return false;
          }
          return true;
        },
        timeoutMs);
  }
  DevicePage* PageOf(const char* data_name) const {
    for (CDeviceOptionUI* option : window_->Options()) {
      if (option->property("dataName").toString() == QLatin1String(data_name)) {
        return option->Page();
      }
    }
    return nullptr;
  }
  // The device object of a page. Only a fixture whose devices share the test's thread may call
  // into it; others read what its client shows.
  CHalvexUSBDevice* DeviceOf(const char* data_name) const {
    DeviceManager* devices = window_->Devices();
    const std::optional<size_t> index = devices->Catalogue().FindByDataName(data_name);
    return index ? devices->Device(*index) : nullptr;
  }
  // Waits until the device of `page` has carried out every command the page sent, and the page
  // has what it reported.
  static bool WaitIdle(DevicePage* page, int timeoutMs = 5000) {
    return page && QTest::qWaitFor([page] { return page->Client().Idle(); }, timeoutMs);
  }

  DeviceEmulator emulator_;
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace vorlin::test
