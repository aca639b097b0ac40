#pragma once

// A main window over the emulated devices, laid out at 96 DPI without the session or system bus,
// and shown once its first look for devices is done.

#include <gtest/gtest.h>

#include <memory>

#include <QTest>

#include "app/main_window.h"
#include "hid/hid_backend.h"
#include "sim/device_emulator.h"

namespace vorlin::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    HidBackends::Add(emulator_.Bus());
    MainWindowOptions options;
    options.useSessionBus = false;
    options.followSleep = false;
    options.forcedDpi = 96;
    window_ = std::make_unique<CMainWnd>(std::move(options));
    ASSERT_TRUE(window_->Create());
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->FirstPassSeen(); }, 5000));
  }
  void TearDown() override {
    window_.reset();
    HidBackends::Remove(emulator_.Bus());
  }

  DeviceEmulator emulator_;
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace vorlin::test
