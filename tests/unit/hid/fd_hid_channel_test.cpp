// The report I/O path over a SOCK_SEQPACKET socket pair, which keeps report boundaries like a
// hidraw node: one end is the channel, the other plays the device.

#include "hid/fd_hid_channel.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <numeric>
#include <string_view>
#include <thread>
#include <vector>

namespace vorlin {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Bounds for "promptly" and "about N ms" that hold on a loaded machine: the point is that a wait
// ends, not how fast.
constexpr auto kPrompt = milliseconds(3000);

std::vector<uint8_t> Pattern(size_t length, uint8_t seed) {
  std::vector<uint8_t> bytes(length);
  std::iota(bytes.begin(), bytes.end(), seed);
  return bytes;
}

class FdHidChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
    channel_ = FdHidChannel::Adopt(fds[0]);
    ASSERT_NE(channel_, nullptr);
    device_ = fds[1];
  }
  void TearDown() override { CloseDevice(); }

  void CloseDevice() {
    if (device_ >= 0) ::close(device_);
    device_ = -1;
  }
  void DeviceSends(const std::vector<uint8_t>& report) {
    ASSERT_EQ(::send(device_, report.data(), report.size(), 0),
              static_cast<ssize_t>(report.size()));
  }
  std::vector<uint8_t> DeviceReceives() {
    std::vector<uint8_t> bytes(8192);
    const ssize_t n = ::recv(device_, bytes.data(), bytes.size(), MSG_DONTWAIT);
    bytes.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return bytes;
  }
  // Fills the channel's send queue so that the next WriteReport has to wait.
  void FillSendQueue() {
    const std::vector<uint8_t> report(1024, 0x5A);
    while (::send(channel_->Fd(), report.data(), report.size(), MSG_DONTWAIT) > 0) {
    }
    ASSERT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);
  }

  std::unique_ptr<FdHidChannel> channel_;
  int device_ = -1;
};

TEST_F(FdHidChannelTest, WholeReportsTravelBothWaysWithTheirBoundaries) {
  // Reports of several lengths queued back to back must come out one per call, unmerged.
  const std::vector<size_t> lengths = {1, 2, 9, 64, 65, 1024};

  for (size_t i = 0; i < lengths.size(); ++i) DeviceSends(Pattern(lengths[i], uint8_t(i)));
  for (size_t i = 0; i < lengths.size(); ++i) {
    SCOPED_TRACE(lengths[i]);
    std::vector<uint8_t> buffer(2048, 0xEE);
    size_t received = 99;
    ASSERT_EQ(channel_->ReadReport(buffer, received, 1000), IoResult::Ok);
    ASSERT_EQ(received, lengths[i]);
    buffer.resize(received);
    EXPECT_EQ(buffer, Pattern(lengths[i], uint8_t(i)));
  }

  for (size_t i = 0; i < lengths.size(); ++i) {
    ASSERT_EQ(channel_->WriteReport(Pattern(lengths[i], uint8_t(0x40 + i)), 1000), IoResult::Ok);
  }
  for (size_t i = 0; i < lengths.size(); ++i) {
    EXPECT_EQ(DeviceReceives(), Pattern(lengths[i], uint8_t(0x40 + i))) << lengths[i];
  }
}

TEST_F(FdHidChannelTest, ReportLongerThanTheBufferIsCutAndItsTailDropped) {
  struct Case {
    size_t reportLength;
    size_t bufferLength;
    size_t expected;
  };
  const Case cases[] = {{64, 8, 8}, {64, 63, 63}, {64, 64, 64}, {5, 64, 5}, {64, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.reportLength << " into " << c.bufferLength);
    DeviceSends(Pattern(c.reportLength, 1));
    DeviceSends({0xAB, 0xCD});  // the next report must not be the cut one's tail
    std::vector<uint8_t> buffer(c.bufferLength);
    size_t received = 0;
    ASSERT_EQ(channel_->ReadReport(buffer, received, 1000), IoResult::Ok);
    ASSERT_EQ(received, c.expected);
    const std::vector<uint8_t> full = Pattern(c.reportLength, 1);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + received, full.begin()));

    std::vector<uint8_t> next(16);
    ASSERT_EQ(channel_->ReadReport(next, received, 1000), IoResult::Ok);
    ASSERT_EQ(received, 2u);
    EXPECT_EQ(next[0], 0xAB);
  }
}

TEST_F(FdHidChannelTest, TimeoutsWaitTheirWholeLength) {
  struct Case {
    const char* what;
    int timeoutMs;
  };
  for (const Case& c : {Case{"read", 200}, Case{"read", 0}, Case{"write", 200}}) {
    SCOPED_TRACE(testing::Message() << c.what << " " << c.timeoutMs << " ms");
    const bool write = std::string_view(c.what) == "write";
    if (write) FillSendQueue();
    std::vector<uint8_t> buffer(64, 0x11);
    size_t received = 7;
    const auto start = Clock::now();
    const IoResult result = write ? channel_->WriteReport(buffer, c.timeoutMs)
                                  : channel_->ReadReport(buffer, received, c.timeoutMs);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(result, IoResult::Timeout);
    EXPECT_GE(elapsed, milliseconds(c.timeoutMs));
    EXPECT_LT(elapsed, milliseconds(c.timeoutMs) + kPrompt);
    if (!write) {
      EXPECT_EQ(received, 0u);
    }
  }
}

TEST_F(FdHidChannelTest, ReportArrivingAfterATimeoutIsReadByTheNextRead) {
  std::vector<uint8_t> buffer(64);
  size_t received = 0;
  ASSERT_EQ(channel_->ReadReport(buffer, received, 50), IoResult::Timeout);
  DeviceSends(Pattern(64, 3));
  ASSERT_EQ(channel_->ReadReport(buffer, received, 1000), IoResult::Ok);
  EXPECT_EQ(received, 64u);
  EXPECT_EQ(buffer, Pattern(64, 3));
}

TEST_F(FdHidChannelTest, WriteWaitsForRoomAndSucceedsOnceTheDeviceTakesReports) {
  FillSendQueue();
  std::thread device([this] {
    std::this_thread::sleep_for(milliseconds(100));
    while (!DeviceReceives().empty()) {
    }
  });
  const std::vector<uint8_t> report = Pattern(64, 9);
  EXPECT_EQ(channel_->WriteReport(report, 5000), IoResult::Ok);
  device.join();
}

TEST_F(FdHidChannelTest, ReadWithoutLimitReturnsWhenAReportArrives) {
  std::thread device([this] {
    std::this_thread::sleep_for(milliseconds(100));
    DeviceSends({1, 2, 3});
  });
  std::vector<uint8_t> buffer(64);
  size_t received = 0;
  EXPECT_EQ(channel_->ReadReport(buffer, received, -1), IoResult::Ok);
  EXPECT_EQ(received, 3u);
  device.join();
}

// Abort must release a waiter that would otherwise wait forever, and keep the channel aborted.
TEST_F(FdHidChannelTest, AbortFromAnotherThreadEndsAWaitAtOnce) {
  for (const bool write : {false, true}) {
    CloseDevice();
    SetUp();  // a fresh, unaborted channel for each case
    SCOPED_TRACE(write ? "write" : "read");
    if (write) FillSendQueue();
    std::atomic<bool> waiting{false};
    IoResult result = IoResult::Ok;
    std::thread waiter([&] {
      std::vector<uint8_t> buffer(64);
      size_t received = 0;
      waiting = true;
      result =
          write ? channel_->WriteReport(buffer, -1) : channel_->ReadReport(buffer, received, -1);
    });
    while (!waiting) std::this_thread::yield();
    std::this_thread::sleep_for(milliseconds(50));  // let it reach poll()
    const auto start = Clock::now();
    channel_->Abort();
    waiter.join();
    EXPECT_LT(Clock::now() - start, kPrompt);
    EXPECT_EQ(result, IoResult::Aborted);
  }
}

TEST_F(FdHidChannelTest, EveryCallAfterAbortIsAbortedEvenWithDataWaiting) {
  DeviceSends({1, 2, 3});
  channel_->Abort();
  channel_->Abort();  // harmless twice
  std::vector<uint8_t> buffer(64);
  size_t received = 5;
  for (const int timeoutMs : {-1, 0, 100}) {
    EXPECT_EQ(channel_->ReadReport(buffer, received, timeoutMs), IoResult::Aborted);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(channel_->WriteReport(buffer, timeoutMs), IoResult::Aborted);
  }
  EXPECT_TRUE(DeviceReceives().empty());  // nothing was sent after the abort
}

TEST_F(FdHidChannelTest, DeviceGoneIsAnErrorNotAWaitOrASignal) {
  // Writing to a closed socket raises SIGPIPE unless the channel prevents it; the test process
  // would die here if it did not.
  CloseDevice();
  std::vector<uint8_t> buffer(64);
  size_t received = 0;
  for (const int timeoutMs : {-1, 0, 1000}) {
    SCOPED_TRACE(timeoutMs);
    const auto start = Clock::now();
    EXPECT_EQ(channel_->ReadReport(buffer, received, timeoutMs), IoResult::Error);
    EXPECT_EQ(channel_->WriteReport(buffer, timeoutMs), IoResult::Error);
    EXPECT_LT(Clock::now() - start, milliseconds(500));
  }
}

TEST_F(FdHidChannelTest, DeviceThatStopsTakingReportsFailsTheWrite) {
  ASSERT_EQ(::shutdown(device_, SHUT_RD), 0);
  const std::vector<uint8_t> report = Pattern(64, 0);
  EXPECT_EQ(channel_->WriteReport(report, 1000), IoResult::Error);
}

TEST(FdHidChannel, WriteToAStreamWhosePeerIsGoneRaisesNoSignal) {
  // A stream socket delivers SIGPIPE on a write after the peer left unless told not to; the default
  // action would end the program.
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
  auto channel = FdHidChannel::Adopt(fds[0]);
  ASSERT_NE(channel, nullptr);
  ::close(fds[1]);
  const std::vector<uint8_t> report = Pattern(64, 0);
  EXPECT_EQ(channel->WriteReport(report, 1000), IoResult::Error);
}

TEST_F(FdHidChannelTest, DeviceGoneWhileReadingEndsTheReadWithError) {
  std::thread device([this] {
    std::this_thread::sleep_for(milliseconds(100));
    CloseDevice();
  });
  std::vector<uint8_t> buffer(64);
  size_t received = 0;
  EXPECT_EQ(channel_->ReadReport(buffer, received, -1), IoResult::Error);
  device.join();
}

TEST_F(FdHidChannelTest, ReportsQueuedBeforeTheDeviceWentAreStillDelivered) {
  DeviceSends({7, 7});
  CloseDevice();
  std::vector<uint8_t> buffer(64);
  size_t received = 0;
  EXPECT_EQ(channel_->ReadReport(buffer, received, 1000), IoResult::Ok);
  EXPECT_EQ(received, 2u);
  EXPECT_EQ(channel_->ReadReport(buffer, received, 1000), IoResult::Error);
}

TEST_F(FdHidChannelTest, EmptyBufferOrReportIsRefusedWithoutConsumingAReport) {
  DeviceSends({1, 2});
  size_t received = 0;
  EXPECT_EQ(channel_->ReadReport({}, received, 100), IoResult::Error);
  EXPECT_EQ(channel_->WriteReport({}, 100), IoResult::Error);
  std::vector<uint8_t> buffer(8);
  EXPECT_EQ(channel_->ReadReport(buffer, received, 100), IoResult::Ok);
  EXPECT_EQ(received, 2u);
  EXPECT_TRUE(DeviceReceives().empty());
}

// A signal landing in the middle of a wait must neither end it early nor lose the report.
TEST_F(FdHidChannelTest, InterruptedWaitResumesWithTheTimeLeft) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = [](int) {};
  action.sa_flags = 0;  // no SA_RESTART: poll() fails with EINTR
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);

  std::atomic<bool> waiting{false};
  IoResult result = IoResult::Ok;
  Clock::duration elapsed{};
  std::thread reader([&] {
    std::vector<uint8_t> buffer(64);
    size_t received = 0;
    waiting = true;
    const auto start = Clock::now();
    result = channel_->ReadReport(buffer, received, 300);
    elapsed = Clock::now() - start;
  });
  while (!waiting) std::this_thread::yield();
  for (int i = 0; i < 5; ++i) {
    std::this_thread::sleep_for(milliseconds(30));
    ::pthread_kill(reader.native_handle(), SIGUSR1);
  }
  reader.join();
  ::sigaction(SIGUSR1, &previous, nullptr);
  EXPECT_EQ(result, IoResult::Timeout);
  EXPECT_GE(elapsed, milliseconds(300));
}

// One reader and one writer at once with an abort from a third thread: run under ThreadSanitizer
// this shows the channel shares nothing unsynchronised between them.
TEST_F(FdHidChannelTest, ReaderWriterAndAbortTogether) {
  std::atomic<bool> stop{false};
  std::thread echo([&] {
    std::vector<uint8_t> bytes(256);
    while (!stop) {
      const ssize_t n = ::recv(device_, bytes.data(), bytes.size(), MSG_DONTWAIT);
      if (n > 0) {
        ::send(device_, bytes.data(), static_cast<size_t>(n), MSG_DONTWAIT);
      } else {
        std::this_thread::sleep_for(milliseconds(1));  // the test's stand-in device may poll
      }
    }
  });
  std::atomic<int> echoed{0};
  IoResult readEnd = IoResult::Ok;
  IoResult writeEnd = IoResult::Ok;
  std::thread reader([&] {
    std::vector<uint8_t> buffer(64);
    size_t received = 0;
    while ((readEnd = channel_->ReadReport(buffer, received, -1)) == IoResult::Ok) ++echoed;
  });
  std::thread writer([&] {
    const std::vector<uint8_t> report = Pattern(64, 0);
    while ((writeEnd = channel_->WriteReport(report, -1)) == IoResult::Ok) {
      std::this_thread::sleep_for(milliseconds(1));
    }
  });
  while (echoed < 50) std::this_thread::sleep_for(milliseconds(5));
  channel_->Abort();
  reader.join();
  writer.join();
  stop = true;
  echo.join();
  EXPECT_EQ(readEnd, IoResult::Aborted);
  EXPECT_EQ(writeEnd, IoResult::Aborted);
}

TEST(FdHidChannel, OwnsItsDescriptor) {
  EXPECT_EQ(FdHidChannel::Adopt(-1), nullptr);
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
  FdHidChannel::Adopt(fds[0]).reset();
  // The channel's end is closed with it, so the peer sees the end of the stream.
  char byte;
  EXPECT_EQ(::recv(fds[1], &byte, 1, MSG_DONTWAIT), 0);
  ::close(fds[1]);
}

}  // namespace
}  // namespace vorlin
