// The rules of a device's timers, over a device whose answers the test decides: through the
// receiver nothing starts until the device answers, the option follows the answers, and the frame
// and status timers stop once the link is closed.
#include <gtest/gtest.h>

#include <QTest>

#include "devices/device_scheduler.h"

namespace vorlin {
namespace {

class FakeDevice : public ScheduledDevice {
 public:
  bool LinkOpen() const override { return link_open; }
  bool OnReceiver() const override { return on_receiver; }
  bool HasStatusPanel() const override { return status_panel; }
  bool OptionShown() const override { return option_shown; }
  bool OptionSelected() const override { return option_selected; }
  bool WindowActive() const override { return window_active; }
  bool NeedsFrames() const override { return page_visible; }
  void RequestOption(bool show) override {
    option_shown = show;
    ++option_requests;
  }
  int ProbeLink() override { return answers ? 1 : 0; }
  void ReadDeviceState() override { ++reads; }
  void ResyncFromDevice() override { ++resyncs; }
  void PollStatus() override { ++polls; }
  void OutputFrame() override { ++frames; }
  void RepaintPicture() override { ++repaints; }

  bool link_open = true;
  bool on_receiver = false;
  bool status_panel = true;
  bool option_shown = false;
  bool option_selected = true;
  bool window_active = true;
  bool page_visible = true;
  bool answers = true;
  int option_requests = 0, reads = 0, resyncs = 0, polls = 0, frames = 0, repaints = 0;
};

TEST(DeviceSchedulerTest, ByCableStartUpReadsTheDeviceAndStartsTheFrameAndStatus) {
  FakeDevice device;
  DeviceScheduler scheduler(device);
  scheduler.OnStartUp();
  EXPECT_EQ(device.reads, 1);
  EXPECT_EQ(device.option_requests, 0);  // by cable discovery has shown it already
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kFrame));
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kStatus));
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kLinkWatch));

  // The frame runs on its own, repainting only while the option is selected and the window
  // active, and stops with the link.
  EXPECT_TRUE(QTest::qWaitFor([&] { return device.frames >= 5; }, 2000));
  EXPECT_GE(device.repaints, 5);
  device.window_active = false;
  const int repaints = device.repaints;
  const int frames = device.frames;
  EXPECT_TRUE(QTest::qWaitFor([&] { return device.frames >= frames + 3; }, 2000));
  EXPECT_EQ(device.repaints, repaints);
  // A page that cannot be seen rests its frame.
  device.page_visible = false;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !scheduler.Pending(DeviceScheduler::kFrame); }, 500));
  device.page_visible = true;
  scheduler.Start(DeviceScheduler::kFrame, DeviceScheduler::kCableFrameMs);
  device.link_open = false;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !scheduler.Pending(DeviceScheduler::kFrame); }, 500));

  // The status timer polls once more and then stays down.
  scheduler.OnStatus();
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kStatus));
}

TEST(DeviceSchedulerTest, ThroughTheReceiverTheDeviceMustAnswerFirst) {
  FakeDevice device;
  device.on_receiver = true;
  device.answers = false;
  device.option_shown = true;
  DeviceScheduler scheduler(device);

  scheduler.OnStartUp();  // switched off: hidden, retried later, nothing read
  EXPECT_FALSE(device.option_shown);
  EXPECT_EQ(device.reads, 0);
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kStartUp));
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kFrame));

  device.answers = true;
  scheduler.OnStartUp();
  EXPECT_TRUE(device.option_shown);
  EXPECT_EQ(device.reads, 1);
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kLinkWatch));
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kFrame));
}

TEST(DeviceSchedulerTest, TheLinkWatchFollowsTheDeviceBehindTheReceiver) {
  FakeDevice device;
  device.on_receiver = true;
  device.option_shown = true;
  DeviceScheduler scheduler(device);

  struct Step {
    bool answers;
    bool shown_after;
    int polls_after;
  };
  // Off, still off, on again (status read once on the way back), still on.
  const Step steps[] = {{false, false, 0}, {false, false, 0}, {true, true, 1}, {true, true, 1}};
  for (const Step& step : steps) {
    device.answers = step.answers;
    scheduler.OnLinkWatch();
    EXPECT_EQ(device.option_shown, step.shown_after);
    EXPECT_EQ(device.polls, step.polls_after);
    EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kLinkWatch));
  }
  EXPECT_EQ(device.option_requests, 2);

  // Back on the cable the watch ends.
  device.on_receiver = false;
  scheduler.OnLinkWatch();
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kLinkWatch));
}

}  // namespace
}  // namespace vorlin
