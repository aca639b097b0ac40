#include "hid/virtual_bus.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace vorlin {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// A device that remembers what it was sent, answers with a fixed outcome and, when asked, echoes
// every report back as input from inside the write (as the emulator's firmware does).
class RecordingEndpoint : public VirtualEndpoint {
 public:
  explicit RecordingEndpoint(WriteOutcome outcome = WriteOutcome::Accept) : outcome_(outcome) {}

  WriteOutcome OnOutputReport(const std::string& node, std::span<const uint8_t> report) override {
    {
      std::lock_guard lock(mutex_);
      received_.emplace_back(node, Bytes(report.begin(), report.end()));
    }
    if (echoBus) {
      Bytes answer(report.begin(), report.end());
      answer.push_back(0xEE);
      echoBus->SendInput(node, answer);
    }
    return outcome_;
  }
  std::vector<std::pair<std::string, Bytes>> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

  VirtualHidBus* echoBus = nullptr;

 private:
  WriteOutcome outcome_;
  std::mutex mutex_;
  std::vector<std::pair<std::string, Bytes>> received_;
};

VirtualInterfaceSpec Spec(uint16_t pid, int interfaceNumber, int collection) {
  VirtualInterfaceSpec spec;
  spec.vendorId = 0x320F;
  spec.productId = pid;
  spec.versionNumber = 0x0102;
  spec.interfaceNumber = interfaceNumber;
  spec.collectionNumber = collection;
  spec.reportDescriptor = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0xC0};
  return spec;
}

// Reads one report, expecting it within a second.
Bytes ReadOne(HidChannel& channel, int timeoutMs = 1000) {
  std::array<uint8_t, 256> buffer{};
  size_t received = 0;
  const IoResult result = channel.ReadReport(buffer, received, timeoutMs);
  EXPECT_EQ(result, IoResult::Ok);
  if (result != IoResult::Ok) return {};
  return Bytes(buffer.begin(), buffer.begin() + received);
}

IoResult ReadResult(HidChannel& channel, int timeoutMs) {
  std::array<uint8_t, 256> buffer{};
  size_t received = 0;
  return channel.ReadReport(buffer, received, timeoutMs);
}

// Runs its action when the scope ends, also when an ASSERT leaves the test early: a test thread
// blocked without a time limit must be released before its future's destructor joins it.
class OnExit {
 public:
  explicit OnExit(std::function<void()> action) : action_(std::move(action)) {}
  ~OnExit() { action_(); }

 private:
  std::function<void()> action_;
};

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class VirtualBusTest : public ::testing::Test {
 protected:
  std::string AttachRecording(WriteOutcome outcome = WriteOutcome::Accept, bool echo = false) {
    endpoint = std::make_shared<RecordingEndpoint>(outcome);
    if (echo) endpoint->echoBus = &bus;
    return bus.Attach(Spec(0x225E, 1, 4), endpoint);
  }

  VirtualHidBus bus;
  std::shared_ptr<RecordingEndpoint> endpoint;
};

TEST_F(VirtualBusTest, ListsQueriesAndForgetsNodes) {
  const std::string a = bus.Attach(Spec(0x225E, 1, 4), nullptr);
  const std::string b = bus.Attach(Spec(0x2260, 2, -1), nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind("vbus/", 0), 0u);

  std::vector<HidNodeInfo> nodes;
  ASSERT_TRUE(bus.ListNodes(nodes));
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0].node, a);
  EXPECT_EQ(nodes[1].node, b);
  EXPECT_EQ(nodes[1].productId, 0x2260);
  EXPECT_EQ(nodes[1].interfaceNumber, 2);
  EXPECT_EQ(nodes[1].collectionNumber, -1);

  HidNodeInfo info;
  ASSERT_TRUE(bus.QueryNode(a, info));
  EXPECT_EQ(info.vendorId, 0x320F);
  EXPECT_EQ(info.productId, 0x225E);
  EXPECT_EQ(info.versionNumber, 0x0102);
  EXPECT_EQ(info.interfaceNumber, 1);
  EXPECT_EQ(info.collectionNumber, 4);
  EXPECT_EQ(info.reportDescriptor, Spec(0, 0, 0).reportDescriptor);

  bus.Detach(a);
  EXPECT_FALSE(bus.NodePresent(a));
  EXPECT_TRUE(bus.NodePresent(b));
  EXPECT_FALSE(bus.QueryNode(a, info));
  EXPECT_EQ(bus.OpenNode(a, true, true, false), nullptr);
  ASSERT_TRUE(bus.ListNodes(nodes));
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_EQ(nodes[0].node, b);

  // A name is never handed out twice, so a stale path cannot reach a newer device.
  const std::string c = bus.Attach(Spec(0x225E, 1, 4), nullptr);
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
  EXPECT_FALSE(bus.NodePresent("vbus/unknown"));
  EXPECT_FALSE(bus.SendInput("vbus/unknown", Bytes{1}));
}

TEST_F(VirtualBusTest, InputReachesEveryChannelOpenForReadingAtThatMoment) {
  const std::string node = AttachRecording();
  auto first = bus.OpenNode(node, true, true, false);
  auto second = bus.OpenNode(node, true, false, false);
  auto writeOnly = bus.OpenNode(node, false, true, false);
  ASSERT_TRUE(first && second && writeOnly);

  ASSERT_TRUE(bus.SendInput(node, Bytes{3, 0x01, 0x04}));
  auto late = bus.OpenNode(node, true, true, false);
  ASSERT_TRUE(late);

  EXPECT_EQ(ReadOne(*first), (Bytes{3, 0x01, 0x04}));
  EXPECT_EQ(ReadOne(*second), (Bytes{3, 0x01, 0x04}));
  EXPECT_EQ(ReadResult(*late, 0), IoResult::Timeout);
  EXPECT_EQ(ReadResult(*writeOnly, 0), IoResult::Error);
  EXPECT_EQ(ReadResult(*first, 0), IoResult::Timeout);
  // One delivery is one trace record, however many channels received it.
  EXPECT_EQ(bus.Trace().size(), 1u);
}

TEST_F(VirtualBusTest, ReportsPassUnfilteredAndInOrder) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  ASSERT_TRUE(channel);
  const std::vector<Bytes> reports = {{4, 1, 2, 3}, {3, 0x01}, {0x99}, Bytes(64, 0x42), {0}};
  for (const auto& r : reports) ASSERT_TRUE(bus.SendInput(node, r));
  for (const auto& r : reports) EXPECT_EQ(ReadOne(*channel), r);
}

TEST_F(VirtualBusTest, ShortBufferReceivesTheReportCut) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  ASSERT_TRUE(bus.SendInput(node, Bytes{1, 2, 3, 4, 5}));
  std::array<uint8_t, 3> buffer{};
  size_t received = 99;
  ASSERT_EQ(channel->ReadReport(buffer, received, 100), IoResult::Ok);
  EXPECT_EQ(received, 3u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), (Bytes{1, 2, 3}));
}

TEST_F(VirtualBusTest, FullQueueDropsTheOldestReports) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  constexpr int kSent = 300;
  for (int i = 0; i < kSent; ++i)
    ASSERT_TRUE(bus.SendInput(node, Bytes{uint8_t(i & 0xFF), uint8_t(i >> 8)}));
  int received = 0;
  int expected = kSent - 256;
  for (;;) {
    std::array<uint8_t, 8> buffer{};
    size_t n = 0;
    if (channel->ReadReport(buffer, n, 0) != IoResult::Ok) break;
    ASSERT_EQ(buffer[0] | (buffer[1] << 8), expected) << "report " << received;
    ++expected;
    ++received;
  }
  EXPECT_EQ(received, 256);
}

TEST_F(VirtualBusTest, WriteReachesTheDeviceWhichMayAnswerFromInsideTheWrite) {
  const std::string node = AttachRecording(WriteOutcome::Accept, /*echo=*/true);
  auto channel = bus.OpenNode(node, true, true, false);
  ASSERT_EQ(channel->WriteReport(Bytes{4, 0x01, 0x00, 0x01}, 1000), IoResult::Ok);
  EXPECT_EQ(ReadOne(*channel), (Bytes{4, 0x01, 0x00, 0x01, 0xEE}));

  const auto received = endpoint->Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].first, node);
  EXPECT_EQ(received[0].second, (Bytes{4, 0x01, 0x00, 0x01}));

  const auto trace = bus.Trace();
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0].direction, TraceDirection::ToDevice);
  EXPECT_EQ(trace[0].bytes, (Bytes{4, 0x01, 0x00, 0x01}));
  EXPECT_EQ(trace[1].direction, TraceDirection::ToHost);
  EXPECT_EQ(trace[1].bytes, (Bytes{4, 0x01, 0x00, 0x01, 0xEE}));
  EXPECT_LT(trace[0].sequence, trace[1].sequence);
  for (const auto& record : trace) {
    EXPECT_EQ(record.node, node);
    EXPECT_EQ(record.vendorId, 0x320F);
    EXPECT_EQ(record.productId, 0x225E);
    EXPECT_EQ(record.interfaceNumber, 1);
    EXPECT_EQ(record.collectionNumber, 4);
  }
}

TEST_F(VirtualBusTest, WriteOutcomes) {
  struct Case {
    WriteOutcome outcome;
    IoResult expected;
    int timeoutMs;
  };
  const Case cases[] = {
      {WriteOutcome::Accept, IoResult::Ok, 1000},
      {WriteOutcome::Fail, IoResult::Error, 1000},
      {WriteOutcome::Stall, IoResult::Timeout, 120},
      {WriteOutcome::Stall, IoResult::Timeout, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.outcome));
    const std::string node = AttachRecording(c.outcome);
    auto channel = bus.OpenNode(node, true, true, false);
    const auto start = Clock::now();
    EXPECT_EQ(channel->WriteReport(Bytes{4, 9}, c.timeoutMs), c.expected);
    const auto elapsed = MsSince(start);
    if (c.outcome == WriteOutcome::Stall) {
      EXPECT_GE(elapsed, c.timeoutMs);
    } else {
      EXPECT_LT(elapsed, 500);
    }
    // The device saw the report whatever it did with it, and so does the trace.
    EXPECT_EQ(endpoint->Received().size(), 1u);
  }
  EXPECT_EQ(bus.Trace().size(), std::size(cases));
}

TEST_F(VirtualBusTest, StalledWriteEndsAtAbortOrDetach) {
  for (const bool detach : {false, true}) {
    SCOPED_TRACE(detach ? "detach" : "abort");
    const std::string node = AttachRecording(WriteOutcome::Stall);
    auto channel = bus.OpenNode(node, true, true, false);
    bus.ClearTrace();
    auto writer = std::async(std::launch::async, [&] {
      const auto start = Clock::now();
      const IoResult result = channel->WriteReport(Bytes{4, 1}, -1);
      return std::make_pair(result, MsSince(start));
    });
    OnExit release([&] { channel->Abort(); });
    ASSERT_TRUE(bus.WaitForTrace(1, 2000));  // the writer is in
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = Clock::now();
    if (detach) {
      bus.Detach(node);
    } else {
      channel->Abort();
    }
    ASSERT_EQ(writer.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(writer.get().first, detach ? IoResult::Error : IoResult::Aborted);
  }
}

TEST_F(VirtualBusTest, AbortReleasesAWaitingReadAndEveryLaterCall) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  auto other = bus.OpenNode(node, true, true, false);
  auto reader = std::async(std::launch::async, [&] { return ReadResult(*channel, -1); });
  OnExit release([&] { channel->Abort(); });
  EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  const auto start = Clock::now();
  channel->Abort();
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_LT(MsSince(start), 500);
  EXPECT_EQ(reader.get(), IoResult::Aborted);

  // Later calls fail at once, even with a report waiting and a device that accepts writes.
  ASSERT_TRUE(bus.SendInput(node, Bytes{3, 1}));
  EXPECT_EQ(ReadResult(*channel, 1000), IoResult::Aborted);
  EXPECT_EQ(channel->WriteReport(Bytes{4, 1}, 1000), IoResult::Aborted);
  EXPECT_TRUE(endpoint->Received().empty());
  // The other channel on the node is untouched.
  EXPECT_EQ(ReadOne(*other), (Bytes{3, 1}));
}

TEST_F(VirtualBusTest, DetachReleasesAWaitingReadWithError) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  auto reader = std::async(std::launch::async, [&] { return ReadResult(*channel, -1); });
  OnExit release([&] { channel->Abort(); });
  EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  const auto start = Clock::now();
  bus.Detach(node);
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_LT(MsSince(start), 500);
  EXPECT_EQ(reader.get(), IoResult::Error);
  EXPECT_EQ(ReadResult(*channel, 0), IoResult::Error);
  EXPECT_EQ(channel->WriteReport(Bytes{4, 1}, 100), IoResult::Error);
  EXPECT_FALSE(bus.SendInput(node, Bytes{3, 1}));
  // Detaching drops the bus's hold on the device.
  EXPECT_EQ(endpoint.use_count(), 1);
}

TEST_F(VirtualBusTest, DelayedReportsArriveInDueOrder) {
  const std::string node = AttachRecording();
  auto channel = bus.OpenNode(node, true, true, false);
  const auto start = Clock::now();
  ASSERT_TRUE(bus.SendInput(node, Bytes{'A'}, 60));
  ASSERT_TRUE(bus.SendInput(node, Bytes{'B'}, 20));
  ASSERT_TRUE(bus.SendInput(node, Bytes{'C'}, 60));
  ASSERT_TRUE(bus.SendInput(node, Bytes{'D'}, 0));
  EXPECT_EQ(ReadOne(*channel, 0), Bytes{'D'});
  EXPECT_EQ(ReadResult(*channel, 0), IoResult::Timeout);
  EXPECT_EQ(ReadOne(*channel, 2000), Bytes{'B'});
  EXPECT_GE(MsSince(start), 20);
  EXPECT_EQ(ReadOne(*channel, 2000), Bytes{'A'});
  EXPECT_GE(MsSince(start), 60);
  EXPECT_EQ(ReadOne(*channel, 2000), Bytes{'C'});

  const auto trace = bus.Trace();
  ASSERT_EQ(trace.size(), 4u);
  std::string order;
  for (const auto& record : trace) order += char(record.bytes[0]);
  EXPECT_EQ(order, "DBAC");
}

TEST_F(VirtualBusTest, DelayedReportOfADetachedNodeIsDropped) {
  const std::string node = AttachRecording();
  const std::string other = bus.Attach(Spec(0x2260, 0, 0), nullptr);
  ASSERT_TRUE(bus.SendInput(node, Bytes{1}, 30));
  ASSERT_TRUE(bus.SendInput(other, Bytes{2}, 60));
  bus.Detach(node);
  ASSERT_TRUE(bus.WaitForTrace(1, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const auto trace = bus.Trace();
  ASSERT_EQ(trace.size(), 1u);
  EXPECT_EQ(trace[0].node, other);
}

TEST_F(VirtualBusTest, ExclusiveOpen) {
  const std::string node = AttachRecording();
  {
    auto held = bus.OpenNode(node, true, true, true);
    ASSERT_TRUE(held);
    EXPECT_EQ(bus.OpenNode(node, true, false, false), nullptr);
    EXPECT_EQ(bus.OpenNode(node, true, true, true), nullptr);
  }
  auto shared = bus.OpenNode(node, true, false, false);
  ASSERT_TRUE(shared);
  EXPECT_EQ(bus.OpenNode(node, true, true, true), nullptr);
  EXPECT_TRUE(bus.OpenNode(node, true, true, false));
  shared.reset();
  EXPECT_TRUE(bus.OpenNode(node, true, true, true));
}

TEST_F(VirtualBusTest, TraceWaitsClearsAndLimits) {
  const std::string node = AttachRecording();
  EXPECT_FALSE(bus.WaitForTrace(1, 30));
  ASSERT_TRUE(bus.SendInput(node, Bytes{1}, 40));
  const auto start = Clock::now();
  EXPECT_TRUE(bus.WaitForTrace(1, 2000));
  EXPECT_GE(MsSince(start), 20);

  bus.ClearTrace();
  EXPECT_TRUE(bus.Trace().empty());
  EXPECT_FALSE(bus.WaitForTrace(1, 0));

  bus.SetTraceLimit(3);
  for (uint8_t i = 0; i < 5; ++i) ASSERT_TRUE(bus.SendInput(node, Bytes{i}));
  auto trace = bus.Trace();
  ASSERT_EQ(trace.size(), 3u);
  EXPECT_EQ(trace[0].bytes, Bytes{2});
  EXPECT_EQ(trace[2].bytes, Bytes{4});
  EXPECT_LT(trace[0].sequence, trace[1].sequence);
  EXPECT_TRUE(bus.WaitForTrace(5, 0));  // counts the dropped ones too

  bus.SetTraceLimit(0);
  ASSERT_TRUE(bus.SendInput(node, Bytes{9}));
  EXPECT_TRUE(bus.Trace().empty());
}

TEST(VirtualBusLifetime, ChannelOutlivesTheBus) {
  std::unique_ptr<HidChannel> channel;
  std::future<IoResult> reader;
  auto endpoint = std::make_shared<RecordingEndpoint>();
  {
    VirtualHidBus bus;
    const std::string node = bus.Attach(Spec(0x225E, 1, 4), endpoint);
    channel = bus.OpenNode(node, true, true, false);
    ASSERT_TRUE(channel);
    ASSERT_TRUE(bus.SendInput(node, Bytes{7}, 10000));  // never delivered
    reader = std::async(std::launch::async, [&] { return ReadResult(*channel, 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_EQ(reader.get(), IoResult::Error);
  EXPECT_EQ(channel->WriteReport(Bytes{4}, 10), IoResult::Error);
  EXPECT_EQ(endpoint.use_count(), 1);
  channel.reset();
}

// Many writers and readers on several nodes while nodes come and go: the sanitizer build checks
// the locking, and every reader must see its own echoes in order.
TEST(VirtualBusConcurrency, WritersReadersAndAttachChurn) {
  VirtualHidBus bus;
  constexpr int kNodes = 3;
  constexpr int kReports = 200;
  std::vector<std::shared_ptr<RecordingEndpoint>> endpoints;
  std::vector<std::string> nodes;
  for (int i = 0; i < kNodes; ++i) {
    endpoints.push_back(std::make_shared<RecordingEndpoint>());
    endpoints.back()->echoBus = &bus;
    nodes.push_back(bus.Attach(Spec(uint16_t(0x2200 + i), i, 0), endpoints.back()));
  }
  std::atomic<bool> churn{true};
  std::thread churner([&] {
    while (churn.load()) {
      const std::string n = bus.Attach(Spec(0x1111, 0, 0), nullptr);
      bus.SendInput(n, Bytes{1}, 1);
      std::vector<HidNodeInfo> list;
      bus.ListNodes(list);
      bus.Detach(n);
    }
  });
  std::vector<std::thread> workers;
  std::atomic<int> failures{0};
  for (int i = 0; i < kNodes; ++i) {
    workers.emplace_back([&, i] {
      auto channel = bus.OpenNode(nodes[i], true, true, false);
      for (int k = 0; k < kReports; ++k) {
        const Bytes report{uint8_t(i), uint8_t(k)};
        if (channel->WriteReport(report, 1000) != IoResult::Ok) ++failures;
        std::array<uint8_t, 8> buffer{};
        size_t n = 0;
        if (channel->ReadReport(buffer, n, 1000) != IoResult::Ok || n != 3 || buffer[0] != i ||
            buffer[1] != uint8_t(k))
          ++failures;
      }
    });
  }
  for (auto& w : workers) w.join();
  churn = false;
  churner.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace vorlin
