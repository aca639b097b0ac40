#pragma once

// A main window over the emulated devices, laid out at 96 DPI without the session or system bus,
// and shown once its first look for devices is done.

#include <gtest/gtest.h>

#include <memory>

#include <QTest>

#include "input_qt/window_input_source.h"
#include "app/main_window.h"
#include "devices/device_option.h"
#include "devices/usb_device.h"
#include "hid/hid_backend.h"
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
    options.useSessionBus = false;
    options.followSleep = false;
    options.forcedDpi = 96;
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

  // The options shown, by their device's data name.
  QStringList Shown() const {
    QStringList names;
    for (CDeviceOptionUI* option : window_->Options()) {
      if (option->Shown()) names << option->property("dataName").toString();
    }
    return names;
  }
  bool WaitShown(const QStringList& expected, int timeoutMs = 3000) {
    return QTest::qWaitFor([&] { return Shown() == expected; }, timeoutMs);
  }
  CHalvexUSBDevice* PageOf(const char* data_name) const {
    for (CDeviceOptionUI* option : window_->Options()) {
      if (option->property("dataName").toString() == QLatin1String(data_name)) {
        return option->Device();
      }
    }
    return nullptr;
  }

  DeviceEmulator emulator_;
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace vorlin::test
