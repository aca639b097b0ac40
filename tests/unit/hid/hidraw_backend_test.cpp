// What of the hidraw backend runs without a HID device: the parsing of udev's values, the handling
// of missing and foreign nodes, and the open flags and locking (on an ordinary file, which OpenNode
// accepts like a node). Real hidraw nodes, when the machine has any, are listed and queried.

#include "hid/hidraw_backend.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "hid/hotplug_monitor.h"

namespace vorlin {
namespace {

TEST(ParseHidId, AcceptsOnlyThreeHexFieldsOfSixteenBits) {
  struct Case {
    const char* text;
    std::optional<HidIdentity> expected;
  };
  const Case cases[] = {
      {"0003:0000320F:0000225E", HidIdentity{0x0003, 0x320F, 0x225E}},
      {"0005:0000046d:0000b01a", HidIdentity{0x0005, 0x046D, 0xB01A}},
      {"3:46d:c52b", HidIdentity{0x0003, 0x046D, 0xC52B}},
      {"0018:0000FFFF:00000000", HidIdentity{0x0018, 0xFFFF, 0x0000}},
      {"", std::nullopt},
      {"0003", std::nullopt},
      {"0003:0000320F", std::nullopt},
      {"0003:0000320F:0000225E:0001", std::nullopt},
      {"0003::0000225E", std::nullopt},
      {":0000320F:0000225E", std::nullopt},
      {"0003:0000320F:", std::nullopt},
      {"0003:0001320F:0000225E", std::nullopt},    // vendor beyond 16 bits
      {"0003:0000320F:0010225E", std::nullopt},    // product beyond 16 bits
      {"10003:0000320F:0000225E", std::nullopt},   // bus beyond 16 bits
      {"0003:000000320F:0000225E", std::nullopt},  // more than 8 digits
      {"0003:0000320G:0000225E", std::nullopt},
      {"0003:0x320F:0000225E", std::nullopt},
      {"0003:+320F:0000225E", std::nullopt},
      {"0003:-320F:0000225E", std::nullopt},
      {" 0003:0000320F:0000225E", std::nullopt},
      {"0003:0000320F:0000225E ", std::nullopt},
      {"0003:0000320F:0000225E\n", std::nullopt},
      {"0003;0000320F;0000225E", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseHidId(c.text), c.expected);
  }
}

TEST(ParseSysfsHex, ReadsOneHexNumberWithinItsRange) {
  struct Case {
    const char* text;
    uint32_t max;
    std::optional<uint32_t> expected;
  };
  const Case cases[] = {
      {"01", 0xFF, 1u},
      {"01\n", 0xFF, 1u},
      {"0a", 0xFF, 10u},
      {"FF", 0xFF, 255u},
      {"100", 0xFF, std::nullopt},
      {"0110\n", 0xFFFF, 0x110u},
      {"", 0xFF, std::nullopt},
      {"\n", 0xFF, std::nullopt},
      {"01\n\n", 0xFF, std::nullopt},
      {"0x01", 0xFF, std::nullopt},
      {" 1", 0xFF, std::nullopt},
      {"1 ", 0xFF, std::nullopt},
      {"-1", 0xFF, std::nullopt},
      {"123456789", 0xFFFFFFFF, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSysfsHex(c.text, c.max), c.expected);
  }
}

class HidrawBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/hidraw_backend_XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    ASSERT_GE(fd, 0);
    ::close(fd);
    file_ = pattern;
  }
  void TearDown() override { ::unlink(file_.c_str()); }

  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  HidrawBackend backend_;
  std::string file_;
};

TEST_F(HidrawBackendTest, MissingOrMalformedNodesFailCleanly) {
  const std::string missing = file_ + ".gone";
  // "/tmp" followed by a NUL: open(2) would see "/tmp", an existing directory.
  const std::string withNul("/tmp\0/x", 7);
  for (const std::string& node : {missing, std::string(), std::string("dev/hidraw0"), withNul}) {
    SCOPED_TRACE(node);
    HidNodeInfo info;
    info.vendorId = 0x1234;
    EXPECT_FALSE(backend_.QueryNode(node, info));
    EXPECT_EQ(info.vendorId, 0x1234);  // untouched on failure
    EXPECT_EQ(backend_.OpenNode(node, true, true, false), nullptr);
    EXPECT_FALSE(backend_.NodePresent(node));
  }
}

TEST_F(HidrawBackendTest, NodesOfOtherKindsAreNotDescribed) {
  // A present file and a character device that is not hidraw.
  for (const std::string& node : {file_, std::string("/dev/null")}) {
    SCOPED_TRACE(node);
    EXPECT_TRUE(backend_.NodePresent(node));
    HidNodeInfo info;
    EXPECT_FALSE(backend_.QueryNode(node, info));
  }
}

TEST_F(HidrawBackendTest, OpenGrantsExactlyTheRequestedAccess) {
  struct Case {
    bool forRead;
    bool forWrite;
    bool canRead;
    bool canWrite;
  };
  const Case cases[] = {
      {true, false, true, false}, {false, true, false, true}, {true, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "read " << c.forRead << " write " << c.forWrite);
    ASSERT_EQ(::truncate(file_.c_str(), 0), 0);
    std::ofstream(file_) << "abc";
    auto channel = backend_.OpenNode(file_, c.forRead, c.forWrite, false);
    ASSERT_NE(channel, nullptr);
    std::vector<uint8_t> buffer(16);
    size_t received = 0;
    EXPECT_EQ(channel->ReadReport(buffer, received, 100),
              c.canRead ? IoResult::Ok : IoResult::Error);
    const std::vector<uint8_t> report = {'x', 'y'};
    EXPECT_EQ(channel->WriteReport(report, 100), c.canWrite ? IoResult::Ok : IoResult::Error);
    channel.reset();
    // A write-only open writes at the start; a read-write one after the three bytes it read.
    const char* expected = !c.canWrite ? "abc" : c.canRead ? "abcxy" : "xyc";
    EXPECT_EQ(Contents(), expected);
  }
  EXPECT_EQ(backend_.OpenNode(file_, false, false, false), nullptr);
}

TEST_F(HidrawBackendTest, ExclusiveOpenKeepsEveryoneElseOut) {
  struct Case {
    bool firstExclusive;
    bool secondExclusive;
    bool secondOpens;
  };
  const Case cases[] = {
      {false, false, true}, {false, true, false}, {true, false, false}, {true, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "first exclusive " << c.firstExclusive
                                    << ", second exclusive " << c.secondExclusive);
    auto first = backend_.OpenNode(file_, true, false, c.firstExclusive);
    ASSERT_NE(first, nullptr);
    auto second = backend_.OpenNode(file_, true, false, c.secondExclusive);
    EXPECT_EQ(second != nullptr, c.secondOpens);
    // Closing the holder releases the node.
    first.reset();
    second.reset();
    EXPECT_NE(backend_.OpenNode(file_, true, true, c.secondExclusive), nullptr);
  }
}

TEST(HidrawBackend, ListsAndDescribesThePresentNodes) {
  HidrawBackend backend;
  EXPECT_EQ(backend.Scheme(), "hidraw");
  std::vector<HidNodeInfo> nodes(1);  // stale content must be replaced
  ASSERT_TRUE(backend.ListNodes(nodes));
  if (nodes.empty()) GTEST_SKIP() << "no readable hidraw node on this machine";
  for (const HidNodeInfo& node : nodes) {
    SCOPED_TRACE(node.node);
    EXPECT_FALSE(node.reportDescriptor.empty());
    EXPECT_TRUE(backend.NodePresent(node.node));
    HidNodeInfo queried;
    ASSERT_TRUE(backend.QueryNode(node.node, queried));
    EXPECT_EQ(queried.vendorId, node.vendorId);
    EXPECT_EQ(queried.productId, node.productId);
    EXPECT_EQ(queried.interfaceNumber, node.interfaceNumber);
    EXPECT_EQ(queried.reportDescriptor, node.reportDescriptor);
  }
}

TEST(HidrawHotplugMonitor, DrainReturnsAtOnceWhenNothingHappened) {
  auto monitor = HidrawHotplugMonitor::Create();
  if (!monitor) GTEST_SKIP() << "no udev monitor available here";
  EXPECT_GE(monitor->Fd(), 0);
  pollfd p{monitor->Fd(), POLLIN, 0};
  if (::poll(&p, 1, 0) != 0) GTEST_SKIP() << "hidraw events are arriving";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(monitor->Drain());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace vorlin
