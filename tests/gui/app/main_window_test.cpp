// The main window against the emulated devices: the selector strip follows the devices as they are
// plugged and unplugged, the notice without devices, the light-control toggle, and shutdown.
#include <gtest/gtest.h>

#include <chrono>

#include <QAbstractButton>
#include <QStackedWidget>
#include <QTest>

#include "pages/device_option.h"
#include "devices/usb_device.h"
#include "app/main_window.h"
#include "hid/hid_backend.h"
#include "main_window_fixture.h"
#include "sim/device_emulator.h"
#include "ui/find_control.h"

namespace vorlin {
namespace {

class MainWindowTest : public test::MainWindowFixture {
 protected:
  QWidget* Control(const char* name) const {
    return FindControl(window_->Window(), QString::fromLatin1(name));
  }
};

TEST_F(MainWindowTest, OnePagePerRowAndTheStripShowsThePluggedDevices) {
  EXPECT_EQ(window_->Options().size(), 4u);
  EXPECT_EQ(window_->Pages().size(), 4u);
  EXPECT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}))
      << Shown().join(',').toStdString();
  EXPECT_TRUE(window_->Window()->isVisible());  // shown after the first pass
  EXPECT_FALSE(Control("No_device_Link")->isVisibleTo(window_->Window()));
  // The first device shown is selected and its page is the current one.
  CDeviceOptionUI* first = window_->Options().front();
  EXPECT_TRUE(first->IsSelected());
  auto* pages = qobject_cast<QStackedWidget*>(Control("device_switch"));
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->currentWidget(), first->Page());
  CHalvexUSBDevice* device = DeviceOf(first->Page()->Product().dataName.c_str());
  EXPECT_TRUE(device->LinkOpen());
  EXPECT_FALSE(device->OnReceiver());  // the cable wins over the receiver
}

TEST_F(MainWindowTest, UnpluggingHidesOptionsAndTheLastOneShowsTheNotice) {
  ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  DevicePage* headset_page = PageOf("HD");
  CHalvexUSBDevice* headset = DeviceOf("HD");
  emulator_.Headset().Cable().Unplug();
  EXPECT_TRUE(WaitShown({"mouse", "keyboard", "MousePad"})) << Shown().join(',').toStdString();
  EXPECT_FALSE(headset->LinkOpen());

  // The selected device goes: the next connected one is selected.
  ASSERT_TRUE(window_->Options().front()->IsSelected());
  emulator_.Mouse().Cable().Unplug();
  emulator_.Mouse().Receiver()->Unplug();
  EXPECT_TRUE(WaitShown({"keyboard", "MousePad"})) << Shown().join(',').toStdString();
  EXPECT_TRUE(window_->Options()[1]->IsSelected());

  emulator_.Keyboard().Cable().Unplug();
  emulator_.MousePad().Cable().Unplug();
  EXPECT_TRUE(WaitShown({}));
  EXPECT_TRUE(Control("No_device_Link")->isVisibleTo(window_->Window()));
  auto* pages = qobject_cast<QStackedWidget*>(Control("device_switch"));
  EXPECT_EQ(pages->currentIndex(), 0);

  // Back again: the same page, shown and selected, and the notice goes.
  emulator_.Headset().Cable().Plug();
  EXPECT_TRUE(WaitShown({"HD"}));
  EXPECT_EQ(PageOf("HD"), headset_page);
  EXPECT_TRUE(headset->LinkOpen());
  EXPECT_TRUE(headset_page->Option()->IsSelected());
  EXPECT_FALSE(Control("No_device_Link")->isVisibleTo(window_->Window()));
  EXPECT_EQ(window_->Pages().size(), 4u);
}

TEST_F(MainWindowTest, MouseFallsBackToItsReceiverAndReturnsToTheCable) {
  ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  DevicePage* page = PageOf("mouse");
  CHalvexUSBDevice* mouse = DeviceOf("mouse");
  emulator_.Mouse().Cable().Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse->OnReceiver(); }, 3000));
  EXPECT_TRUE(mouse->LinkOpen());
  EXPECT_TRUE(page->Option()->Shown());
  emulator_.Mouse().Cable().Plug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !mouse->OnReceiver(); }, 3000));
  EXPECT_TRUE(mouse->LinkOpen());
  EXPECT_EQ(PageOf("mouse"), page);
}

TEST_F(MainWindowTest, PrevAndNextMoveAlongTheShownOptions) {
  ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
  emulator_.Keyboard().Cable().Unplug();
  ASSERT_TRUE(WaitShown({"mouse", "MousePad", "HD"}));
  auto* next = qobject_cast<QAbstractButton*>(Control("device_select_next"));
  auto* prev = qobject_cast<QAbstractButton*>(Control("device_select_prev"));
  const auto options = window_->Options();
  next->click();
  EXPECT_TRUE(options[2]->IsSelected());  // the hidden keyboard is skipped
  EXPECT_EQ(window_->SelectedOption(), 2);
  next->click();
  EXPECT_TRUE(options[3]->IsSelected());
  next->click();  // the last shown option: nothing happens
  EXPECT_TRUE(options[3]->IsSelected());
  prev->click();
  prev->click();
  EXPECT_TRUE(options[0]->IsSelected());
}

TEST_F(MainWindowTest, LightControlToggles) {
  auto* toggle = qobject_cast<QAbstractButton*>(Control("control_light_status"));
  ASSERT_NE(toggle, nullptr);
  EXPECT_EQ(window_->LightControl(), 1);
  toggle->click();
  EXPECT_EQ(window_->LightControl(), 0);
  EXPECT_FALSE(toggle->isChecked());
  for (CHalvexUSBDevice* device : window_->Devices()->Devices()) {
    if (device->Family() != DeviceFamily::kHeadset) {
      EXPECT_TRUE(QTest::qWaitFor([device] { return !device->HostLighting(); }, 2000));
    }
  }
  // Another program asks to take over again; while suspended the request is ignored.
  window_->OnSuspend();
  window_->OnLightControlRequest(true);
  EXPECT_EQ(window_->LightControl(), 0);
  window_->OnResume();
  window_->OnLightControlRequest(true);
  EXPECT_EQ(window_->LightControl(), 1);
  EXPECT_TRUE(toggle->isChecked());
}

TEST_F(MainWindowTest, ShutdownStopsTheScannerWithinItsBound) {
  ASSERT_NE(window_->Scanner(), nullptr);
  ASSERT_TRUE(window_->Scanner()->IsRunning());
  // A device arriving while the window shuts down: the scanner may be waiting for the UI thread.
  emulator_.Headset().Cable().Unplug();
  const auto start = std::chrono::steady_clock::now();
  window_->Quit();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(window_->Scanner()->IsRunning());
  EXPECT_LT(took, DiscoveryScanner::kStopBound);
  EXPECT_FALSE(window_->Window()->isVisible());
}

}  // namespace
}  // namespace vorlin
