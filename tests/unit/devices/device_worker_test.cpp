// Device workers stop within their bound when their body watches the stop event, and a body that
// is late is waited for (never abandoned) and reported as late.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "devices/device_worker.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

TEST(DeviceWorkerTest, StopEndsABodyWaitingOnItsStopEvent) {
  DeviceWorker worker("test worker ended");
  std::atomic<int> runs{0};
  worker.Start([&](const StopEvent& stop) {
    ++runs;
    stop.Wait(-1);
  });
  EXPECT_TRUE(worker.Running());
  EXPECT_EQ(worker.Stop(1000ms), DeviceWorker::StopOutcome::kEnded);
  EXPECT_FALSE(worker.Running());
  EXPECT_EQ(worker.Stop(), DeviceWorker::StopOutcome::kNotRunning);

  // A second start runs a fresh body with its stop event cleared.
  worker.Start([&](const StopEvent& stop) {
    ++runs;
    stop.Wait(-1);
  });
  EXPECT_FALSE(worker.StopSignal().IsSet());
  EXPECT_EQ(worker.Stop(1000ms), DeviceWorker::StopOutcome::kEnded);
  EXPECT_EQ(runs.load(), 2);
}

TEST(DeviceWorkerTest, ALateBodyIsWaitedForAndReportedLate) {
  DeviceWorker worker("late worker ended");
  std::atomic<bool> finished{false};
  worker.Start([&](const StopEvent& stop) {
    stop.Wait(-1);
    std::this_thread::sleep_for(150ms);  // cleaning up after the stop
    finished = true;
  });
  EXPECT_EQ(worker.Stop(20ms), DeviceWorker::StopOutcome::kLate);
  EXPECT_TRUE(finished.load());  // the thread ended before Stop returned
  EXPECT_FALSE(worker.Running());
}

TEST(DeviceWorkerTest, StartingAgainStopsTheRunningBodyFirst) {
  DeviceWorker worker("restarted worker ended");
  std::atomic<int> live{0};
  std::atomic<int> most{0};
  auto body = [&](const StopEvent& stop) {
    most = std::max(most.load(), ++live);
    stop.Wait(-1);
    --live;
  };
  worker.Start(body);
  worker.Start(body);
  worker.Start(body);
  worker.Stop();
  EXPECT_EQ(most.load(), 1);
  EXPECT_EQ(live.load(), 0);
}

}  // namespace
}  // namespace vorlin
