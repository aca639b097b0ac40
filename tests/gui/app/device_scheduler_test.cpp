// The rules of a device's timers, over a device whose answers the test decides: through the
// receiver nothing starts until the device answers, the option follows the answers, and the
// status timer stops once the link is closed.
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
  void RequestOption(bool show) override {
    option_shown = show;
    ++option_requests;
  }
  int ProbeLink() override { return answers ? 1 : 0; }
  void ReadDeviceState() override { ++reads; }
  void ResyncFromDevice() override { ++resyncs; }
  void PollStatus() override { ++polls; }

  bool link_open = true;
  bool on_receiver = false;
  bool status_panel = true;
  bool option_shown = false;
  bool answers = true;
  int option_requests = 0, reads = 0, resyncs = 0, polls = 0;
};

TEST(DeviceSchedulerTest, ByCableStartUpReadsTheDeviceAndStartsTheStatus) {
  FakeDevice device;
  DeviceScheduler scheduler(device);
  scheduler.OnStartUp();
  EXPECT_EQ(device.reads, 1);
  EXPECT_EQ(device.option_requests, 0);  // by cable the device is there already
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kStatus));
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kLinkWatch));

  // The status is polled on its own and stops with the link.
  EXPECT_TRUE(QTest::qWaitFor([&] { return device.polls >= 1; }, 2000));
  device.link_open = false;
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
  EXPECT_FALSE(scheduler.Pending(DeviceScheduler::kStatus));

  device.answers = true;
  scheduler.OnStartUp();
  EXPECT_TRUE(device.option_shown);
  EXPECT_EQ(device.reads, 1);
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kLinkWatch));
  EXPECT_TRUE(scheduler.Pending(DeviceScheduler::kStatus));
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
