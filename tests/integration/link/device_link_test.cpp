// The command link against interfaces on the virtual bus: what goes on the wire (taken from the
// bus trace), what comes back, and how faults end an exchange.

#include "hid/device_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <numeric>
#include <thread>

#include "hid/hid_backend.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

using test::ScriptedInterface;
using test::ScriptedReply;
using Clock = std::chrono::steady_clock;

struct Chunk {
  uint8_t length;
  uint16_t offset;
  bool operator==(const Chunk&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Chunk& c) {
  return os << "{" << int(c.length) << " @ 0x" << std::hex << c.offset << std::dec << "}";
}

class DeviceLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HidBackends::Add(bus_);
    wired_ = std::make_shared<ScriptedInterface>(*bus_);
    receiver_ = std::make_shared<ScriptedInterface>(*bus_);
    VirtualInterfaceSpec spec{0x320F, 0x225E, 0x0100, 1, 4, test::CommandCollectionDescriptor()};
    const std::string wiredNode = bus_->Attach(spec, wired_);
    spec.productId = 0x225F;
    const std::string receiverNode = bus_->Attach(spec, receiver_);
    ASSERT_TRUE(link_.WiredInterface().Open(test::PathOfNode(wiredNode), true, true, true, false));
    ASSERT_TRUE(
        link_.ReceiverInterface().Open(test::PathOfNode(receiverNode), true, true, true, false));
    link_.open = true;
    link_.SetConnectionMode(1);
  }

  void TearDown() override { HidBackends::Remove(bus_); }

  ScriptedInterface& Device() { return link_.IsWireless() ? *receiver_ : *wired_; }

  std::vector<CommandReport> Sent() const {
    std::vector<CommandReport> sent;
    for (const TraceRecord& r : bus_->Trace()) {
      if (r.direction != TraceDirection::ToDevice) continue;
      CommandReport report{};
      std::copy_n(r.bytes.begin(), std::min(r.bytes.size(), report.size()), report.begin());
      sent.push_back(report);
    }
    return sent;
  }

  std::vector<Chunk> SentChunks() const {
    std::vector<Chunk> chunks;
    for (const CommandReport& r : Sent()) chunks.push_back({PayloadLengthOf(r), OffsetOf(r)});
    return chunks;
  }

  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>();
  std::shared_ptr<ScriptedInterface> wired_;
  std::shared_ptr<ScriptedInterface> receiver_;
  DeviceLink link_;
};

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> data(n);
  std::iota(data.begin(), data.end(), uint8_t{0x30});
  return data;
}

struct ChunkCase {
  const char* name;
  int mode;
  std::function<int(DeviceLink&)> run;
  std::vector<Chunk> expected;
};

class DeviceLinkChunking : public DeviceLinkTest,
                           public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(DeviceLinkChunking, SplitsTransfersByConnectionMode) {
  const ChunkCase& c = GetParam();
  link_.SetConnectionMode(c.mode);
  EXPECT_EQ(c.run(link_), kLinkOk);
  EXPECT_EQ(SentChunks(), c.expected);
  for (const CommandReport& r : Sent()) {
    EXPECT_EQ(r[0], kCommandReportId);
    EXPECT_EQ(r[1] | (r[2] << 8), CommandChecksum(r));
    EXPECT_EQ(r[7], 0);
    for (size_t i = kCommandPayloadOffset + PayloadLengthOf(r); i < r.size(); ++i)
      ASSERT_EQ(r[i], 0) << "byte " << i << " after the payload";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DeviceLinkChunking,
    ::testing::Values(
        ChunkCase{"WriteParamsWired", 1,
                  [](DeviceLink& l) { return l.WriteParams(Pattern(95), 0x80); },
                  {{56, 0x80}, {39, 0xB8}}},
        ChunkCase{"WriteParamsWireless", 2,
                  [](DeviceLink& l) { return l.WriteParams(Pattern(95), 0x80); },
                  {{24, 0x80}, {24, 0x98}, {24, 0xB0}, {23, 0xC8}}},
        ChunkCase{"ReadDeviceInfoWireless", 2,
                  [](DeviceLink& l) {
                    std::array<uint8_t, 34> info{};
                    return l.ReadDeviceInfo(info);
                  },
                  {{24, 0}, {10, 24}}},
        ChunkCase{"ReadDeviceInfoWired", 1,
                  [](DeviceLink& l) {
                    std::array<uint8_t, 34> info{};
                    return l.ReadDeviceInfo(info);
                  },
                  {{34, 0}}},
        ChunkCase{"WriteShootDataWired", 1,
                  [](DeviceLink& l) { return l.WriteShootData(Pattern(120)); },
                  {{56, 0}, {56, 56}, {8, 112}}},
        ChunkCase{"WriteShootDataWireless", 2,
                  [](DeviceLink& l) { return l.WriteShootData(Pattern(120)); },
                  {{56, 0}, {56, 56}, {8, 112}}},
        ChunkCase{"ReadKeyTableOfFifteenKeys", 1,
                  [](DeviceLink& l) {
                    l.SetBlockSize(45);
                    std::vector<uint8_t> table(45);
                    return l.ReadKeyTable(table, 0);
                  },
                  {{45, 0}}},
        ChunkCase{"ReadKeyLedTableIsAThirdOfTheBlock", 2,
                  [](DeviceLink& l) {
                    std::vector<uint8_t> leds(512);
                    return l.ReadKeyLedTable(leds);
                  },
                  {{24, 0}, {24, 24}, {24, 48}, {24, 72}, {24, 96}, {24, 120}, {24, 144}, {2, 168}}},
        ChunkCase{"ColorTablePageUsesTheStride", 1,
                  [](DeviceLink& l) { return l.WriteColorTable(Pattern(60), 2, 512); },
                  {{56, 1024}, {4, 1080}}},
        ChunkCase{"StatusIsOneReport", 2,
                  [](DeviceLink& l) {
                    std::array<uint8_t, 6> status{};
                    return l.ReadStatus(status, 0);
                  },
                  {{6, 0}}},
        ChunkCase{"EmptyWriteSendsNothing", 1,
                  [](DeviceLink& l) { return l.WriteMacroData({}); }, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkTest, BeginConfigSendsCodeOneAndItsChecksum) {
  EXPECT_EQ(link_.BeginConfig(), kLinkOk);
  ASSERT_EQ(Sent().size(), 1u);
  CommandReport expected{};
  expected[0] = 0x04;
  expected[1] = 0x01;
  expected[3] = 0x01;
  EXPECT_EQ(Sent()[0], expected);
}

TEST_F(DeviceLinkTest, WritesCarryTheDataAndReadsAssembleIt) {
  link_.SetConnectionMode(2);
  const std::vector<uint8_t> data = Pattern(95);
  ASSERT_EQ(link_.WriteParams(data, 0x80), kLinkOk);
  std::vector<uint8_t> carried;
  for (const CommandReport& r : Sent())
    carried.insert(carried.end(), r.begin() + 8, r.begin() + 8 + PayloadLengthOf(r));
  EXPECT_EQ(carried, data);

  // The scripted device answers byte i of a read with the low byte of its address.
  std::vector<uint8_t> read(95);
  ASSERT_EQ(link_.ReadParams(read, 0x80), kLinkOk);
  for (size_t i = 0; i < read.size(); ++i) ASSERT_EQ(read[i], uint8_t(0x80 + i)) << i;
}

ScriptedReply WithStatus(const CommandReport& request, uint8_t status) {
  ScriptedReply reply = ScriptedInterface::Echo(request);
  reply.reports[0][7] = status;
  return reply;
}

TEST_F(DeviceLinkTest, ErrorStatusEndsAChunkedTransferAtOnce) {
  struct Case {
    uint8_t status;
    int expected;
  };
  for (const Case c : {Case{0xFE, kLinkStatusRefused}, Case{0xFF, kLinkStatusFailed},
                       Case{0x01, kLinkOk}}) {
    bus_->ClearTrace();
    Device().SetScript([&](const CommandReport& r) { return WithStatus(r, c.status); });
    EXPECT_EQ(link_.WriteParams(Pattern(95), 0), c.expected) << int(c.status);
    EXPECT_EQ(Sent().size(), c.expected == kLinkOk ? 2u : 1u) << int(c.status);
  }
}

TEST_F(DeviceLinkTest, KeyTablePagesOtherThanZeroAreRefusedUnsent) {
  std::vector<uint8_t> table(512);
  EXPECT_EQ(link_.ReadKeyTable(table, 1), kLinkBadArgument);
  EXPECT_EQ(link_.WriteKeyTable(table, 1), kLinkBadArgument);
  EXPECT_EQ(link_.WriteKeyTable2(table, -1), kLinkBadArgument);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceLinkTest, BadBuffersAndRangesAreRefusedUnsent) {
  std::array<uint8_t, 10> small{};
  EXPECT_EQ(link_.ReadDeviceInfo(small), kLinkBadArgument);
  EXPECT_EQ(link_.ReadDefaultKeyTable(small), kLinkBadArgument);
  std::array<uint8_t, 57> tooLong{};
  EXPECT_EQ(link_.ReadStatus(tooLong, 0), kLinkBadArgument);
  // A transfer that would run past address 0xFFFF must not wrap round to the start of the area.
  EXPECT_EQ(link_.WriteParams(Pattern(95), 0xFFF0), kLinkBadArgument);
  EXPECT_EQ(link_.WriteColorTable(Pattern(10), 200, 512), kLinkBadArgument);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceLinkTest, BlockSizeAbove512IsRefusedAndKept) {
  EXPECT_TRUE(link_.SetBlockSize(45));
  EXPECT_FALSE(link_.SetBlockSize(513));
  EXPECT_EQ(link_.BlockSize(), 45);
  EXPECT_TRUE(link_.SetBlockSize(512));
  EXPECT_EQ(link_.BlockSize(), 512);
}

TEST_F(DeviceLinkTest, ClosedLinkExchangesNothing) {
  link_.open = false;
  std::array<uint8_t, 34> info{};
  for (int mode : {1, 2}) {
    link_.SetConnectionMode(mode);
    EXPECT_EQ(link_.BeginConfig(), kLinkNoExchange);
    EXPECT_EQ(link_.ReadDeviceInfo(info), kLinkNoExchange);
    EXPECT_EQ(link_.WriteShootData(Pattern(10)), kLinkNoExchange);
    EXPECT_EQ(link_.WriteLightFrame(Pattern(30)), kLinkNoExchange);
  }
  EXPECT_FALSE(link_.ProbeWireless());
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceLinkTest, ProbeWirelessByCableSendsNothing) {
  EXPECT_TRUE(link_.ProbeWireless());
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceLinkTest, ProbeWirelessNeedsTheDeviceToAnswerFF) {
  link_.SetConnectionMode(2);
  struct Case {
    uint8_t byte8;
    uint8_t status;
    bool reachable;
  };
  for (const Case c : {Case{0xFF, 0, true}, Case{0x00, 0, false}, Case{0xFF, 0xFE, false},
                       Case{0xFF, 0xFF, false}}) {
    Device().SetScript([&](const CommandReport& r) {
      ScriptedReply reply = ScriptedInterface::Echo(r);
      reply.reports[0][8] = c.byte8;
      reply.reports[0][7] = c.status;
      return reply;
    });
    EXPECT_EQ(link_.ProbeWireless(), c.reachable) << int(c.byte8) << " " << int(c.status);
  }
  EXPECT_EQ(CommandCodeOf(Sent().back()), kCmdProbeWireless);
}

TEST_F(DeviceLinkTest, SilentDeviceBehindReceiverEndsWith101AfterOneRead) {
  link_.SetConnectionMode(2);
  Device().SetScript([](const CommandReport& r) {
    ScriptedReply reply = ScriptedInterface::Echo(r);
    reply.reports[0][3] = kReceiverNoAnswer;
    return reply;
  });
  const auto start = Clock::now();
  std::array<uint8_t, 34> info{};
  EXPECT_EQ(link_.ReadDeviceInfo(info), kLinkNoDevice);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << "must not wait for a second reply";
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(DeviceLinkTest, AnEchoOfAnotherCommandIsReadPastOnce) {
  // A stale answer first, then the real one.
  Device().SetScript([](const CommandReport& r) {
    ScriptedReply reply = ScriptedInterface::Echo(r);
    CommandReport stale = reply.reports[0];
    stale[3] = 0x1A;
    stale[8] = 0xEE;
    reply.reports.insert(reply.reports.begin(), stale);
    return reply;
  });
  std::array<uint8_t, 34> info{};
  EXPECT_EQ(link_.ReadDeviceInfo(info), kLinkOk);
  EXPECT_EQ(info[0], 0x00) << "data must come from the matching reply";
}

TEST_F(DeviceLinkTest, SecondMismatchedEchoIsAcceptedWithoutAThirdRead) {
  Device().SetScript([](const CommandReport& r) {
    ScriptedReply reply = ScriptedInterface::Echo(r);
    CommandReport other = reply.reports[0];
    other[3] = 0x33;
    reply.reports = {other, other, reply.reports[0]};
    return reply;
  });
  CommandReport reply{};
  size_t received = 0;
  const CommandReport request = MakeCommandReport(kCmdBeginConfig, 0, 0);
  EXPECT_EQ(link_.Transact(request, reply, received), kLinkOk);
  EXPECT_EQ(reply[3], 0x33);
  EXPECT_EQ(received, kCommandReportSize);
}

TEST_F(DeviceLinkTest, OnlyAReplyToAnotherCommandIsAWrongAnswerNotSilence) {
  // The device answers with another command's code and then nothing: it did answer, wrongly.
  Device().SetScript([](const CommandReport& r) {
    ScriptedReply reply = ScriptedInterface::Echo(r);
    reply.reports[0][3] = 0x33;
    return reply;
  });
  link_.SetReplyTimeouts({30, 30, 30});
  std::array<uint8_t, 56> params{};
  EXPECT_EQ(link_.WriteParams(params, 0), kLinkWrongReply);
  EXPECT_EQ(Sent().size(), 1u) << "the write stops at the first chunk";
}

TEST_F(DeviceLinkTest, WriteThatFailsReturnsMinusOne) {
  Device().SetScript([](const CommandReport&) {
    ScriptedReply reply;
    reply.outcome = WriteOutcome::Fail;
    return reply;
  });
  EXPECT_EQ(link_.BeginConfig(), kLinkWriteFailed);
  std::array<uint8_t, 34> info{};
  EXPECT_EQ(link_.ReadDeviceInfo(info), kLinkWriteFailed);
}

TEST_F(DeviceLinkTest, MissingReplyTimesOutAfterTwoReads) {
  Device().SetScript([](const CommandReport&) { return ScriptedReply{}; });
  const auto start = Clock::now();
  EXPECT_EQ(link_.BeginConfig(), kLinkNoExchange);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  EXPECT_LT(elapsed, std::chrono::milliseconds(4000));
}

// Shortened reply timeouts bound each wait (the fuzz target relies on it to keep a pass short).
TEST_F(DeviceLinkTest, ShortenedReplyTimeoutsBoundTheWait) {
  Device().SetScript([](const CommandReport&) { return ScriptedReply{}; });
  link_.SetReplyTimeouts({30, 30, 30});
  const auto start = Clock::now();
  EXPECT_EQ(link_.BeginConfig(), kLinkNoExchange);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(55));  // both reads waited
  EXPECT_LT(elapsed, std::chrono::milliseconds(kWiredTimeoutMs));
}

TEST_F(DeviceLinkTest, CloseReleasesAReadWaitingForAReply) {
  link_.SetConnectionMode(2);  // 5 s reply timeout
  Device().SetScript([](const CommandReport&) { return ScriptedReply{}; });
  auto result = std::async(std::launch::async, [&] { return link_.BeginConfig(); });
  ASSERT_TRUE(bus_->WaitForTrace(1, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto start = Clock::now();
  link_.ReceiverInterface().Close();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_EQ(result.get(), kLinkNoExchange);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST_F(DeviceLinkTest, LightFrameChunksAreDroppedWhileACommandIsUnderWay) {
  link_.SetConnectionMode(2);
  // The configuration command's reply comes late, so it is still in progress while the frame is
  // sent from another thread.
  Device().SetScript([](const CommandReport& r) {
    ScriptedReply reply = ScriptedInterface::Echo(r);
    if (CommandCodeOf(r) == kCmdBeginConfig) reply.delayMs = 600;
    return reply;
  });
  auto config = std::async(std::launch::async, [&] { return link_.BeginConfig(); });
  ASSERT_TRUE(bus_->WaitForTrace(1, 2000));
  ASSERT_TRUE(link_.Busy());
  EXPECT_EQ(link_.WriteLightFrame(Pattern(72)), kLinkOk);
  EXPECT_EQ(config.get(), kLinkOk);
  for (const CommandReport& r : Sent()) EXPECT_NE(CommandCodeOf(r), kCmdWriteLightFrame);

  // Once the link is idle the same frame goes out whole, in receiver-sized chunks.
  bus_->ClearTrace();
  EXPECT_EQ(link_.WriteLightFrame(Pattern(72)), kLinkOk);
  EXPECT_EQ(SentChunks(), (std::vector<Chunk>{{24, 0}, {24, 24}, {24, 48}}));
}

}  // namespace
}  // namespace vorlin
