// HidDevice over the virtual bus: enumeration paths, identity, collection filtering, decoding,
// and reads that end on time, on Close and when the interface goes away.

#include "hid/hid_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "hid/hid_backend.h"
#include "hid/virtual_bus.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

// Consumer control (report id 3): an array of one consumer usage 0x401..0x4FF and a one-bit
// usage 0xE0, both on the consumer page.
const Bytes kConsumerCollection = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x01,
                                   0x26, 0xFF, 0x00, 0x1A, 0x01, 0x04, 0x2A, 0xFF, 0x04, 0x75,
                                   0x08, 0x95, 0x01, 0x81, 0x00, 0x09, 0xE0, 0x15, 0x00, 0x25,
                                   0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0x75, 0x07, 0x95,
                                   0x01, 0x81, 0x03, 0xC0};

// Mouse (report id 1): buttons 1-3, padding, a range of four signed values (X, Y, Z, Rx) and a
// second button capability on the consumer page.
const Bytes kMouseCollection = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01,                          // mouse, id 1
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,  // buttons 1-3
    0x95, 0x03, 0x81, 0x02, 0x75, 0x05, 0x95, 0x01, 0x81, 0x03,              // + padding
    0x05, 0x01, 0x19, 0x30, 0x29, 0x33, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08,  // X..Rx
    0x95, 0x04, 0x81, 0x02,                                                  //
    0x05, 0x0C, 0x0A, 0x38, 0x02, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95,  // AC Pan bit
    0x01, 0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x03, 0xC0};

// A vendor collection without report ids: 8 bytes each way.
const Bytes kUnnumberedCollection = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                                     0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x01,
                                     0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class SilentInterface : public VirtualEndpoint {
 public:
  WriteOutcome OnOutputReport(const std::string&, std::span<const uint8_t>) override {
    return WriteOutcome::Accept;
  }
};

class HidDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { HidBackends::Add(bus_); }
  void TearDown() override { HidBackends::Remove(bus_); }

  std::string Attach(Bytes descriptor, int interfaceNumber = 1, int collectionNumber = -1) {
    VirtualInterfaceSpec spec{0x320F, 0x225E, 0x0102, interfaceNumber, collectionNumber,
                              std::move(descriptor)};
    return bus_->Attach(spec, std::make_shared<SilentInterface>());
  }

  std::vector<std::string> ListedPaths() {
    HidDevice scan;
    EXPECT_TRUE(scan.EnumerateInterfaces());
    std::vector<std::string> paths;
    while (const std::string* p = scan.NextInterfacePath()) paths.push_back(*p);
    return paths;
  }

  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>();
};

TEST_F(HidDeviceTest, EveryTopLevelCollectionIsOnePath) {
  const std::string composite = Attach(
      Concat({kMouseCollection, kConsumerCollection, test::CommandCollectionDescriptor()}));
  const std::string single = Attach(kUnnumberedCollection, 3);
  const std::string explicitCol = Attach(test::CommandCollectionDescriptor(), 1, 4);

  const auto paths = ListedPaths();
  const std::vector<std::string> expected = {
      "virtual:" + composite + "?vid_320f&pid_225e&mi_01&col01",
      "virtual:" + composite + "?vid_320f&pid_225e&mi_01&col02",
      "virtual:" + composite + "?vid_320f&pid_225e&mi_01&col03",
      "virtual:" + single + "?vid_320f&pid_225e&mi_03",
      "virtual:" + explicitCol + "?vid_320f&pid_225e&mi_01&col04"};
  EXPECT_EQ(paths, expected);
}

TEST_F(HidDeviceTest, InterfacesWithUnreadableDescriptorsAreNotListed) {
  Attach({0xA1, 0x01});  // a collection that never ends
  EXPECT_TRUE(ListedPaths().empty());
}

TEST_F(HidDeviceTest, CursorIsNullBeforeEnumerationAndAfterTheLastPath) {
  Attach(kUnnumberedCollection);
  HidDevice scan;
  EXPECT_EQ(scan.NextInterfacePath(), nullptr);
  ASSERT_TRUE(scan.EnumerateInterfaces());
  EXPECT_NE(scan.NextInterfacePath(), nullptr);
  EXPECT_EQ(scan.NextInterfacePath(), nullptr);
  EXPECT_EQ(scan.NextInterfacePath(), nullptr);
  scan.FreeInterfaceList();
  EXPECT_EQ(scan.NextInterfacePath(), nullptr);
}

TEST_F(HidDeviceTest, OpenLearnsIdentityAndLayoutOfTheCollection) {
  const std::string node =
      Attach(Concat({kMouseCollection, kConsumerCollection, test::CommandCollectionDescriptor()}));
  HidDevice device;
  ASSERT_TRUE(device.Open("virtual:" + node + "?vid_320f&pid_225e&MI_01&Col03", true, true, true,
                          false));
  EXPECT_EQ(device.Attributes().VendorID, 0x320F);
  EXPECT_EQ(device.Attributes().ProductID, 0x225E);
  EXPECT_EQ(device.Attributes().VersionNumber, 0x0102);
  EXPECT_EQ(device.Caps().UsagePage, 0xFF1C);
  EXPECT_EQ(device.Caps().Usage, 0x92);
  EXPECT_EQ(device.Caps().InputReportByteLength, 64);
  EXPECT_EQ(device.Caps().OutputReportByteLength, 64);
  EXPECT_EQ(device.InterfaceNumber(), 1u);
  EXPECT_EQ(device.CollectionNumber(), 3u);

  ASSERT_TRUE(device.Open("virtual:" + node + "?vid_320f&pid_225e&mi_01&col01", true, false, true,
                          false));
  EXPECT_EQ(device.Caps().UsagePage, 0x01);
  EXPECT_EQ(device.Caps().Usage, 0x02);
  // Buttons and the AC Pan bit, then one entry for each of the four values.
  const auto data = device.InputData();
  ASSERT_EQ(data.size(), 6u);
  EXPECT_TRUE(data[0].isButtonData);
  EXPECT_TRUE(data[1].isButtonData);
  for (size_t i = 2; i < 6; ++i) {
    EXPECT_FALSE(data[i].isButtonData);
    EXPECT_EQ(data[i].usage, 0x30 + i - 2);
  }
}

TEST_F(HidDeviceTest, OpenFailsCleanly) {
  const std::string node = Attach(Concat({kMouseCollection, kConsumerCollection}));
  HidDevice device;
  const std::vector<std::string> bad = {
      "",
      "nowhere:/dev/x?vid_1",
      "virtual:no-such-node?vid_320f",
      "virtual:" + node + "?vid_320f&pid_225e&mi_01&col05",
  };
  for (const std::string& path : bad) {
    EXPECT_FALSE(device.Open(path, true, true, true, false)) << path;
    EXPECT_FALSE(device.IsOpen());
  }
  size_t n = 0;
  uint8_t buffer[8];
  EXPECT_FALSE(device.Read(buffer, sizeof buffer, n, 0));
  EXPECT_FALSE(device.Write(buffer, sizeof buffer, n, 0));
}

TEST_F(HidDeviceTest, ReadReturnsOnlyReportsOfItsCollection) {
  const std::string node =
      Attach(Concat({kConsumerCollection, test::CommandCollectionDescriptor()}));
  HidDevice events;
  HidDevice commands;
  ASSERT_TRUE(events.Open("virtual:" + node + "?mi_01&col01", true, true, true, false));
  ASSERT_TRUE(commands.Open("virtual:" + node + "?mi_01&col02", true, true, true, false));

  CommandReport reply{};
  reply[0] = 4;
  reply[3] = 0x01;
  bus_->SendInput(node, reply);
  bus_->SendInput(node, Bytes{0x03, 0x01, 0x00});

  uint8_t buffer[64];
  size_t n = 0;
  ASSERT_TRUE(events.Read(buffer, sizeof buffer, n, 500));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(buffer[0], 0x03);
  ASSERT_TRUE(commands.Read(buffer, sizeof buffer, n, 500));
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(buffer[0], 0x04);
  EXPECT_FALSE(events.Read(buffer, sizeof buffer, n, 50));
  EXPECT_FALSE(commands.Read(buffer, sizeof buffer, n, 50));
}

TEST_F(HidDeviceTest, ReportsWithoutIdsGetAZeroIdByte) {
  const std::string node = Attach(kUnnumberedCollection);
  HidDevice device;
  ASSERT_TRUE(device.Open("virtual:" + node + "?mi_01", true, true, true, false));
  EXPECT_EQ(device.Caps().InputReportByteLength, 9);
  bus_->SendInput(node, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  uint8_t buffer[9];
  size_t n = 0;
  ASSERT_TRUE(device.Read(buffer, sizeof buffer, n, 500));
  EXPECT_EQ(n, 9u);
  EXPECT_EQ(Bytes(buffer, buffer + 9), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(HidDeviceTest, UnpackKeepsOnlyUsagesInTheEntrysRange) {
  const std::string node = Attach(kConsumerCollection);
  HidDevice device;
  ASSERT_TRUE(device.Open("virtual:" + node + "?mi_01", true, true, true, false));
  auto data = device.InputData();
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[0].usageMin, 0x401u);
  EXPECT_EQ(data[0].usageMax, 0x4FFu);

  // The platform's usage list for this report is 0x401 then 0x0E0.
  const Bytes report = {0x03, 0x01, 0x01};
  ASSERT_TRUE(device.UnpackInputReport(report, data));
  ASSERT_GE(data[0].usages.size(), 2u);
  EXPECT_EQ(data[0].usages[0], 0x401);
  EXPECT_EQ(data[0].usages[1], 0);
  EXPECT_EQ(data[1].usages[0], 0x0E0);
  EXPECT_TRUE(data[0].isDataSet);

  ASSERT_TRUE(device.UnpackInputReport(report));
  EXPECT_EQ(device.FirstInputUsage(), 0x401);
  ASSERT_TRUE(device.UnpackInputReport(Bytes{0x03, 0x05, 0x00}));
  EXPECT_EQ(device.FirstInputUsage(), 0x405);
}

TEST_F(HidDeviceTest, UnpackSkipsReportsOfOtherIdsAndSurvivesShortOnes) {
  const std::string node = Attach(kMouseCollection);
  HidDevice device;
  ASSERT_TRUE(device.Open("virtual:" + node + "?mi_01", true, true, true, false));
  auto data = device.InputData();
  EXPECT_TRUE(device.UnpackInputReport(Bytes{0x02, 0xFF}, data));
  for (const auto& d : data) EXPECT_FALSE(d.isDataSet);
  // Too short for its id: the values cannot be decoded.
  EXPECT_FALSE(device.UnpackInputReport(Bytes{0x01, 0x07}, data));
  EXPECT_FALSE(device.UnpackInputReport(Bytes{}, data));
  // A whole report: buttons 1 and 3, X = -2.
  ASSERT_TRUE(device.UnpackInputReport(Bytes{0x01, 0x05, 0xFE, 0x03, 0x00, 0x00, 0x00}, data));
  EXPECT_EQ(data[2].value, 0xFEu);
  EXPECT_EQ(data[2].scaledValue, -2);
}

TEST_F(HidDeviceTest, ReadEndsOnTimeoutOnCloseAndOnUnplug) {
  const std::string node = Attach(test::CommandCollectionDescriptor(), 1, 4);
  HidDevice device;
  const std::string path = "virtual:" + node + "?mi_01&col04";
  ASSERT_TRUE(device.Open(path, true, true, true, false));
  uint8_t buffer[64];
  size_t n = 0;

  auto start = Clock::now();
  EXPECT_FALSE(device.Read(buffer, sizeof buffer, n, 200));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));
  EXPECT_EQ(n, 0u);

  auto waiting = std::async(std::launch::async,
                            [&] { return device.Read(buffer, sizeof buffer, n, HidDevice::kInfinite); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  start = Clock::now();
  device.Close();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_FALSE(waiting.get());
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(device.Path(), path) << "the path stays after Close";

  ASSERT_TRUE(device.Open(path, true, true, true, false));
  auto unplugged = std::async(std::launch::async,
                              [&] { return device.Read(buffer, sizeof buffer, n, HidDevice::kInfinite); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  bus_->Detach(node);
  ASSERT_EQ(unplugged.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_FALSE(unplugged.get());
  EXPECT_FALSE(device.Open(path, true, true, true, false));
}

}  // namespace
}  // namespace vorlin
