// The same transport tests run over both kinds of node HidDevice can use: interfaces on the
// virtual bus, and descriptors that behave like hidraw nodes (the hidraw backend's FdHidChannel
// over SOCK_SEQPACKET socket pairs, which keep report boundaries and work with poll()).

#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include "hid/fd_hid_channel.h"
#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "hid/virtual_bus.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// The device side of one emulated node, whatever carries it.
class TestNodes {
 public:
  virtual ~TestNodes() = default;
  virtual std::shared_ptr<HidBackend> Backend() = 0;
  virtual std::string Attach(Bytes descriptor, int interfaceNumber) = 0;
  virtual void SendInput(const std::string& node, const Bytes& report) = 0;
  // The output reports written to the node so far.
  virtual std::vector<Bytes> Written(const std::string& node) = 0;
  virtual void Unplug(const std::string& node) = 0;
};

class BusNodes : public TestNodes {
 public:
  std::shared_ptr<HidBackend> Backend() override { return bus_; }
  std::string Attach(Bytes descriptor, int interfaceNumber) override {
    class Silent : public VirtualEndpoint {
      WriteOutcome OnOutputReport(const std::string&, std::span<const uint8_t>) override {
        return WriteOutcome::Accept;
      }
    };
    return bus_->Attach({0x320F, 0x225E, 0x0100, interfaceNumber, -1, std::move(descriptor)},
                        std::make_shared<Silent>());
  }
  void SendInput(const std::string& node, const Bytes& report) override {
    bus_->SendInput(node, report);
  }
  std::vector<Bytes> Written(const std::string& node) override {
    std::vector<Bytes> out;
    for (const TraceRecord& r : bus_->Trace())
      if (r.node == node && r.direction == TraceDirection::ToDevice) out.push_back(r.bytes);
    return out;
  }
  void Unplug(const std::string& node) override { bus_->Detach(node); }

 private:
  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>();
};

// Nodes served over socket pairs, as the hidraw backend serves /dev/hidraw nodes: every open
// gets its own socket, every input report goes to every open socket, a pulled device closes them.
class SocketPairNodes : public TestNodes, public HidBackend {
 public:
  ~SocketPairNodes() override {
    for (auto& [name, node] : nodes_)
      for (int fd : node.deviceEnds) ::close(fd);
  }
  std::shared_ptr<HidBackend> Backend() override {
    return std::shared_ptr<HidBackend>(std::shared_ptr<HidBackend>{}, this);
  }
  std::string Attach(Bytes descriptor, int interfaceNumber) override {
    std::lock_guard lock(mutex_);
    const std::string name = "/dev/fakehidraw" + std::to_string(nodes_.size());
    Node& node = nodes_[name];
    node.info = {name, 0x320F, 0x225E, 0x0100, interfaceNumber, -1, std::move(descriptor)};
    return name;
  }
  void SendInput(const std::string& name, const Bytes& report) override {
    std::lock_guard lock(mutex_);
    for (int fd : nodes_[name].deviceEnds) ::send(fd, report.data(), report.size(), MSG_NOSIGNAL);
  }
  std::vector<Bytes> Written(const std::string& name) override {
    std::lock_guard lock(mutex_);
    Node& node = nodes_[name];
    for (int fd : node.deviceEnds) {
      uint8_t buffer[256];
      ssize_t n;
      while ((n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
        node.written.emplace_back(buffer, buffer + n);
    }
    return node.written;
  }
  void Unplug(const std::string& name) override {
    std::lock_guard lock(mutex_);
    Node& node = nodes_[name];
    node.present = false;
    for (int fd : node.deviceEnds) ::close(fd);
    node.deviceEnds.clear();
  }

  // HidBackend
  std::string_view Scheme() const override { return "hidraw"; }
  bool ListNodes(std::vector<HidNodeInfo>& out) override {
    std::lock_guard lock(mutex_);
    for (auto& [name, node] : nodes_)
      if (node.present) out.push_back(node.info);
    return true;
  }
  bool QueryNode(std::string_view name, HidNodeInfo& info) override {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(std::string(name));
    if (it == nodes_.end() || !it->second.present) return false;
    info = it->second.info;
    return true;
  }
  std::unique_ptr<HidChannel> OpenNode(std::string_view name, bool, bool, bool) override {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(std::string(name));
    if (it == nodes_.end() || !it->second.present) return nullptr;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return nullptr;
    it->second.deviceEnds.push_back(fds[1]);
    return FdHidChannel::Adopt(fds[0]);
  }
  bool NodePresent(std::string_view name) override {
    HidNodeInfo info;
    return QueryNode(name, info);
  }

 private:
  struct Node {
    HidNodeInfo info;
    bool present = true;
    std::vector<int> deviceEnds;
    std::vector<Bytes> written;
  };
  std::mutex mutex_;
  std::map<std::string, Node> nodes_;
};

// Consumer control with report id 3 (one usage 0..0x1FFF) and the vendor command collection with
// report id 4, on one interface.
Bytes TwoCollections() {
  Bytes d = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x1F,
             0x19, 0x00, 0x2A, 0xFF, 0x1F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};
  const Bytes command = test::CommandCollectionDescriptor();
  d.insert(d.end(), command.begin(), command.end());
  return d;
}

const Bytes kUnnumbered = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                           0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x01,
                           0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};

using NodesFactory = std::function<std::unique_ptr<TestNodes>()>;

class TransportContract : public ::testing::TestWithParam<NodesFactory> {
 protected:
  void SetUp() override {
    nodes_ = GetParam()();
    backend_ = nodes_->Backend();
    HidBackends::Add(backend_);
  }
  void TearDown() override {
    HidBackends::Remove(backend_);
    backend_.reset();
  }
  std::string PathOf(const std::string& node, const char* tags) {
    return std::string(backend_->Scheme()) + ":" + node + tags;
  }

  std::unique_ptr<TestNodes> nodes_;
  std::shared_ptr<HidBackend> backend_;
};

TEST_P(TransportContract, ListsOnePathPerCollectionWithItsTags) {
  const std::string node = nodes_->Attach(TwoCollections(), 1);
  HidDevice scan;
  ASSERT_TRUE(scan.EnumerateInterfaces());
  std::vector<std::string> paths;
  while (const std::string* p = scan.NextInterfacePath()) paths.push_back(*p);
  EXPECT_EQ(paths, (std::vector<std::string>{PathOf(node, "?vid_320f&pid_225e&mi_01&col01"),
                                             PathOf(node, "?vid_320f&pid_225e&mi_01&col02")}));
}

TEST_P(TransportContract, WritesWholeReportsAndReadsOnlyItsCollection) {
  const std::string node = nodes_->Attach(TwoCollections(), 1);
  HidDevice events;
  HidDevice commands;
  ASSERT_TRUE(events.Open(PathOf(node, "?mi_01&col01"), true, true, true, false));
  ASSERT_TRUE(commands.Open(PathOf(node, "?mi_01&col02"), true, true, true, false));
  EXPECT_EQ(commands.Caps().UsagePage, 0xFF1C);
  EXPECT_EQ(events.Caps().InputReportByteLength, 3);

  const CommandReport request = MakeCommandReport(kCmdBeginConfig, 0, 0);
  size_t n = 0;
  ASSERT_TRUE(commands.Write(request.data(), request.size(), n, 1000));
  EXPECT_EQ(n, 64u);
  const auto written = nodes_->Written(node);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0], Bytes(request.begin(), request.end()));

  nodes_->SendInput(node, Bytes(request.begin(), request.end()));
  nodes_->SendInput(node, Bytes{0x03, 0x01, 0x04});
  uint8_t buffer[64];
  ASSERT_TRUE(events.Read(buffer, sizeof buffer, n, 1000));
  EXPECT_EQ(Bytes(buffer, buffer + n), (Bytes{0x03, 0x01, 0x04}));
  ASSERT_TRUE(events.UnpackInputReport(Bytes(buffer, buffer + n)));
  EXPECT_EQ(events.FirstInputUsage(), 0x0401);
  ASSERT_TRUE(commands.Read(buffer, sizeof buffer, n, 1000));
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(buffer[3], kCmdBeginConfig);
  EXPECT_FALSE(events.Read(buffer, sizeof buffer, n, 30));
}

TEST_P(TransportContract, UnnumberedReportsTravelWithAZeroIdByte) {
  const std::string node = nodes_->Attach(kUnnumbered, 2);
  HidDevice device;
  ASSERT_TRUE(device.Open(PathOf(node, "?mi_02"), true, true, true, false));
  nodes_->SendInput(node, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  uint8_t buffer[9];
  size_t n = 0;
  ASSERT_TRUE(device.Read(buffer, sizeof buffer, n, 1000));
  EXPECT_EQ(Bytes(buffer, buffer + n), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  ASSERT_TRUE(device.Write(buffer, sizeof buffer, n, 1000));
  EXPECT_EQ(nodes_->Written(node).at(0), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_P(TransportContract, ReadsEndOnTimeoutCloseAndUnplug) {
  const std::string node = nodes_->Attach(TwoCollections(), 1);
  const std::string path = PathOf(node, "?mi_01&col02");
  HidDevice device;
  ASSERT_TRUE(device.Open(path, true, true, true, false));
  uint8_t buffer[64];
  size_t n = 0;

  auto start = Clock::now();
  EXPECT_FALSE(device.Read(buffer, sizeof buffer, n, 200));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));

  auto closed = std::async(std::launch::async, [&] {
    return device.Read(buffer, sizeof buffer, n, HidDevice::kInfinite);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  device.Close();
  ASSERT_EQ(closed.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_FALSE(closed.get());

  ASSERT_TRUE(device.Open(path, true, true, true, false));
  auto unplugged = std::async(std::launch::async, [&] {
    return device.Read(buffer, sizeof buffer, n, HidDevice::kInfinite);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  nodes_->Unplug(node);
  ASSERT_EQ(unplugged.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_FALSE(unplugged.get());
  EXPECT_FALSE(device.Open(path, true, true, true, false));
  EXPECT_FALSE(backend_->NodePresent(node));
}

INSTANTIATE_TEST_SUITE_P(
    Backends, TransportContract,
    ::testing::Values(NodesFactory([] { return std::make_unique<BusNodes>(); }),
                      NodesFactory([] { return std::make_unique<SocketPairNodes>(); })),
    [](const auto& info) { return info.index == 0 ? std::string("VirtualBus") : "HidrawChannel"; });

}  // namespace
}  // namespace vorlin
