#include "sim/socket_seam.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <random>

#include "hid/report_descriptor.h"
#include "sim/socket_protocol.h"

namespace vorlin {
namespace {

using Bytes = std::vector<uint8_t>;

// The client end as an outside device model would write it: raw datagrams, nothing shared with
// the server but the byte layout.
class TestClient {
 public:
  explicit TestClient(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~TestClient() { Close(); }
  bool Connected() const { return connected_; }

  void Send(const Bytes& message) {
    ASSERT_EQ(::send(fd_, message.data(), message.size(), MSG_NOSIGNAL), ssize_t(message.size()));
  }
  // The next datagram, or nothing when none comes in time or the server hung up.
  std::optional<Bytes> Receive(int timeoutMs = 2000) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    Bytes buffer(16384);
    const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
    if (n <= 0) return std::nullopt;
    buffer.resize(size_t(n));
    return buffer;
  }
  // True when the server closes the connection within the time (pending datagrams are skipped).
  bool WaitForHangup(int timeoutMs = 2000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, int(left)) <= 0) return false;
      std::array<uint8_t, 16384> buffer;
      if (::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT) <= 0) return true;
    }
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int Fd() const { return fd_; }

  void Hello() {
    Send(seam::EncodeHello(1));
    ASSERT_EQ(Receive(), (Bytes{0x81, 0x01, 0x00}));
  }
  // Attaches and returns the node name from ATTACHED.
  std::string Attach(const seam::AttachRequest& request) {
    Send(seam::EncodeAttach(request));
    const auto reply = Receive();
    EXPECT_TRUE(reply && reply->size() >= 6) << "no ATTACHED";
    if (!reply || reply->size() < 6) return {};
    EXPECT_EQ((*reply)[0], 0x82);
    EXPECT_EQ(seam::EncodeAttached(request.tag, seam::AttachStatus::Ok, {}),
              Bytes(reply->begin(), reply->begin() + 6));
    return std::string(reply->begin() + 6, reply->end());
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

seam::AttachRequest CommandInterface(uint32_t tag) {
  seam::AttachRequest r;
  r.tag = tag;
  r.vendorId = 0x320F;
  r.productId = 0x225E;
  r.interfaceNumber = 1;
  r.collectionNumber = 4;
  r.usagePage = 0xFF1C;
  r.usage = 0x92;
  r.versionNumber = 0x0105;
  return r;
}

class SocketSeamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorlin-seam-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/sim.sock";
    std::string error;
    ASSERT_TRUE(seam_.Listen(path_, &error)) << error;
  }
  void TearDown() override {
    seam_.Stop();
    std::filesystem::remove_all(dir_);
  }

  std::unique_ptr<HidChannel> OpenOnly() {
    std::vector<HidNodeInfo> nodes;
    EXPECT_TRUE(bus_->ListNodes(nodes));
    EXPECT_EQ(nodes.size(), 1u);
    if (nodes.size() != 1) return nullptr;
    return bus_->OpenNode(nodes[0].node, true, true, false);
  }

  std::string dir_;
  std::string path_;
  std::shared_ptr<VirtualHidBus> bus_ = std::make_shared<VirtualHidBus>();
  SocketSeam seam_{bus_};
};

TEST_F(SocketSeamTest, AttachedInterfaceIsListedWithItsIdentity) {
  TestClient client(path_);
  ASSERT_TRUE(client.Connected());
  client.Hello();
  const std::string node = client.Attach(CommandInterface(7));

  std::vector<HidNodeInfo> nodes;
  ASSERT_TRUE(bus_->ListNodes(nodes));
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_EQ(nodes[0].node, node);
  EXPECT_EQ(nodes[0].vendorId, 0x320F);
  EXPECT_EQ(nodes[0].productId, 0x225E);
  EXPECT_EQ(nodes[0].versionNumber, 0x0105);
  EXPECT_EQ(nodes[0].interfaceNumber, 1);
  EXPECT_EQ(nodes[0].collectionNumber, 4);
  EXPECT_EQ(nodes[0].reportDescriptor, seam::DefaultReportDescriptor(0xFF1C, 0x92));

  // A descriptor of its own is taken as given; 0xFFFF numbers mean "none".
  auto own = CommandInterface(8);
  own.interfaceNumber = seam::kNoNumber;
  own.collectionNumber = seam::kNoNumber;
  own.descriptor = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0};
  const std::string second = client.Attach(own);
  HidNodeInfo info;
  ASSERT_TRUE(bus_->QueryNode(second, info));
  EXPECT_EQ(info.interfaceNumber, -1);
  EXPECT_EQ(info.collectionNumber, -1);
  EXPECT_EQ(info.reportDescriptor, own.descriptor);
}

TEST(SocketSeamDescriptor, DefaultDescriptorsByUsagePage) {
  // Command interface: report id 4, 63 vendor bytes in and out (64-byte reports with the id).
  EXPECT_EQ(seam::DefaultReportDescriptor(0xFF1C, 0x92),
            (Bytes{0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x06,
                   0x00, 0xFF, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
                   0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0}));
  // Event interface: report id 3, one 16-bit consumer usage 0..0x1FFF.
  EXPECT_EQ(seam::DefaultReportDescriptor(0x0C, 0x01),
            (Bytes{0x06, 0x0C, 0x00, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF,
                   0x1F, 0x19, 0x00, 0x2A, 0xFF, 0x1F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0}));
  // A two-byte usage is written as a two-byte Usage item.
  const Bytes wide = seam::DefaultReportDescriptor(0xFF00, 0x1234);
  EXPECT_EQ(Bytes(wide.begin(), wide.begin() + 6), (Bytes{0x06, 0x00, 0xFF, 0x0A, 0x34, 0x12}));
}

// What the program's own parser makes of them: one collection with the identity asked for and the
// report layout the device models rely on.
TEST(SocketSeamDescriptor, DefaultDescriptorsParseToTheIntendedLayout) {
  struct Case {
    uint16_t usagePage, usage;
    uint8_t reportId;
    uint16_t inputLength, outputLength;
  };
  const Case cases[] = {
      {0xFF1C, 0x92, 4, 64, 64},
      {0x0001, 0x0002, 4, 64, 64},
      {0xFF00, 0x1234, 4, 64, 64},
      {0x000C, 0x0001, 3, 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.usagePage);
    ParsedDescriptor parsed;
    std::string error;
    ASSERT_TRUE(
        ParseReportDescriptor(seam::DefaultReportDescriptor(c.usagePage, c.usage), parsed, &error))
        << error;
    ASSERT_EQ(parsed.collections.size(), 1u);
    const auto& collection = parsed.collections[0];
    EXPECT_EQ(collection.usagePage, c.usagePage);
    EXPECT_EQ(collection.usage, c.usage);
    EXPECT_EQ(collection.ReportIds(ReportKind::Input), std::vector<uint8_t>{c.reportId});
    EXPECT_EQ(collection.ReportByteLength(ReportKind::Input), c.inputLength);
    EXPECT_EQ(collection.ReportByteLength(ReportKind::Output), c.outputLength);
  }
  // An event report decodes to its 16-bit consumer usage.
  ParsedDescriptor parsed;
  ASSERT_TRUE(ParseReportDescriptor(seam::DefaultReportDescriptor(0x0C, 0x01), parsed));
  std::vector<uint16_t> usages;
  ASSERT_EQ(
      GetUsages(parsed.collections[0], ReportKind::Input, 0x0C, Bytes{0x03, 0x01, 0x04}, 4, usages),
      kHidpStatusSuccess);
  EXPECT_EQ(usages, std::vector<uint16_t>{0x0401});
}

TEST_F(SocketSeamTest, OutputAndInputCrossTheSocket) {
  TestClient client(path_);
  client.Hello();
  client.Attach(CommandInterface(0x01020304));
  auto channel = OpenOnly();
  ASSERT_TRUE(channel);

  Bytes request(64, 0);
  request[0] = 0x04;
  request[3] = 0x03;
  request[63] = 0x7E;
  ASSERT_EQ(channel->WriteReport(request, 1000), IoResult::Ok);
  Bytes expected{0x83, 0x04, 0x03, 0x02, 0x01};
  expected.insert(expected.end(), request.begin(), request.end());
  EXPECT_EQ(client.Receive(), expected);

  Bytes reply(64, 0);
  reply[0] = 0x04;
  reply[3] = 0x03;
  reply[8] = 0x5A;
  Bytes input{0x04, 0x04, 0x03, 0x02, 0x01};
  input.insert(input.end(), reply.begin(), reply.end());
  client.Send(input);
  std::array<uint8_t, 64> buffer{};
  size_t received = 0;
  ASSERT_EQ(channel->ReadReport(buffer, received, 2000), IoResult::Ok);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + received), reply);
}

TEST_F(SocketSeamTest, ClientsAreKeptApart) {
  TestClient a(path_);
  TestClient b(path_);
  a.Hello();
  b.Hello();
  const std::string nodeA = a.Attach(CommandInterface(1));
  const std::string nodeB = b.Attach(CommandInterface(1));  // tags are per client
  ASSERT_NE(nodeA, nodeB);
  auto channelB = bus_->OpenNode(nodeB, true, true, false);
  ASSERT_EQ(channelB->WriteReport(Bytes{0x04, 0xBB}, 1000), IoResult::Ok);
  EXPECT_EQ(b.Receive(), (Bytes{0x83, 1, 0, 0, 0, 0x04, 0xBB}));
  EXPECT_EQ(a.Receive(100), std::nullopt);
}

TEST_F(SocketSeamTest, DisconnectDetachesTheClientsInterfaces) {
  TestClient client(path_);
  client.Hello();
  client.Attach(CommandInterface(1));
  auto channel = OpenOnly();
  ASSERT_TRUE(channel);
  auto reader = std::async(std::launch::async, [&] {
    std::array<uint8_t, 64> buffer{};
    size_t received = 0;
    return channel->ReadReport(buffer, received, 5000);
  });
  client.Close();
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_EQ(reader.get(), IoResult::Error);
  std::vector<HidNodeInfo> nodes;
  ASSERT_TRUE(bus_->ListNodes(nodes));
  EXPECT_TRUE(nodes.empty());
  // A write to the gone interface fails instead of reaching a closed socket.
  EXPECT_EQ(channel->WriteReport(Bytes{0x04}, 100), IoResult::Error);
}

TEST_F(SocketSeamTest, DetachMessageRemovesOneInterface) {
  TestClient client(path_);
  client.Hello();
  const std::string first = client.Attach(CommandInterface(1));
  const std::string second = client.Attach(CommandInterface(2));
  client.Send(seam::EncodeDetach(1));
  // INPUT on the remaining tag is handled after the DETACH, so once it arrives the DETACH is done.
  auto channel = bus_->OpenNode(second, true, true, false);
  client.Send(seam::EncodeInput(2, Bytes{0x04, 0x01}));
  std::array<uint8_t, 8> buffer{};
  size_t received = 0;
  ASSERT_EQ(channel->ReadReport(buffer, received, 2000), IoResult::Ok);
  EXPECT_FALSE(bus_->NodePresent(first));
  EXPECT_TRUE(bus_->NodePresent(second));
}

// Every bad message gets its answer and leaves the connection usable.
TEST_F(SocketSeamTest, MalformedMessagesAreAnsweredNotFatal) {
  struct Case {
    const char* name;
    Bytes message;
    Bytes replyStart;  // the reply's first bytes (type and code or tag+status)
  };
  auto attach = [](uint32_t tag, size_t descriptorBytes) {
    auto r = CommandInterface(tag);
    r.descriptor.assign(descriptorBytes, 0x00);
    return seam::EncodeAttach(r);
  };
  const Bytes err = {0x84};
  const Case beforeHello[] = {
      {"attach first", attach(1, 0), {0x84, 3}},
      {"input first", seam::EncodeInput(1, Bytes{1}), {0x84, 3}},
      {"empty", {}, {0x84, 1}},
      {"short hello", {0x01, 0x01}, {0x84, 1}},
  };
  const Case afterHello[] = {
      {"hello again", seam::EncodeHello(1), {0x84, 6}},
      {"unknown type", {0x7F, 1, 2, 3}, {0x84, 1}},
      {"program message", {0x81, 0x01, 0x00}, {0x84, 1}},
      {"short attach", Bytes{0x02, 1, 0, 0, 0, 0x0F, 0x32}, {0x84, 1}},
      {"short detach", {0x03, 1, 0, 0}, {0x84, 1}},
      {"long detach", {0x03, 1, 0, 0, 0, 0}, {0x84, 1}},
      {"input without report", {0x04, 1, 0, 0, 0}, {0x84, 1}},
      {"detach unknown tag", seam::EncodeDetach(99), {0x84, 4}},
      {"input unknown tag", seam::EncodeInput(99, Bytes{4, 1}), {0x84, 4}},
      {"tag in use", attach(1, 0), {0x82, 1, 0, 0, 0, 1}},
      {"descriptor too long", attach(2, 4097), {0x82, 2, 0, 0, 0, 2}},
      {"datagram too long", Bytes(9000, 0x04), {0x84, 5}},
  };
  TestClient client(path_);
  auto check = [&](const Case& c) {
    SCOPED_TRACE(c.name);
    client.Send(c.message);
    const auto reply = client.Receive();
    ASSERT_TRUE(reply);
    ASSERT_GE(reply->size(), c.replyStart.size());
    EXPECT_EQ(Bytes(reply->begin(), reply->begin() + c.replyStart.size()), c.replyStart);
  };
  for (const auto& c : beforeHello) check(c);
  client.Hello();
  client.Attach(CommandInterface(1));
  for (const auto& c : afterHello) check(c);

  // Still fully working: exactly the one good interface exists and carries input.
  auto channel = OpenOnly();
  ASSERT_TRUE(channel);
  client.Send(seam::EncodeInput(1, Bytes{0x04, 0x42}));
  std::array<uint8_t, 8> buffer{};
  size_t received = 0;
  ASSERT_EQ(channel->ReadReport(buffer, received, 2000), IoResult::Ok);
  EXPECT_EQ(buffer[1], 0x42);
}

TEST_F(SocketSeamTest, UnsupportedVersionClosesTheConnection) {
  TestClient client(path_);
  client.Send(seam::EncodeHello(0));
  const auto reply = client.Receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Bytes(reply->begin(), reply->begin() + 2), (Bytes{0x84, 2}));
  EXPECT_TRUE(client.WaitForHangup());
}

TEST_F(SocketSeamTest, NewerClientIsAnsweredWithOurVersion) {
  TestClient client(path_);
  client.Send(Bytes{0x01, 0x07, 0x00, 0xAA, 0xBB});  // version 7 with fields we do not know
  EXPECT_EQ(client.Receive(), (Bytes{0x81, 0x01, 0x00}));
}

TEST_F(SocketSeamTest, InterfaceAndClientLimits) {
  TestClient client(path_);
  client.Hello();
  for (uint32_t tag = 0; tag < SocketSeam::kMaxInterfacesPerClient; ++tag)
    ASSERT_FALSE(client.Attach(CommandInterface(tag)).empty());
  client.Send(seam::EncodeAttach(CommandInterface(1000)));
  EXPECT_EQ(client.Receive(), (Bytes{0x82, 0xE8, 0x03, 0, 0, 3}));

  std::vector<std::unique_ptr<TestClient>> others;
  for (size_t i = 1; i < SocketSeam::kMaxClients; ++i) {
    others.push_back(std::make_unique<TestClient>(path_));
    others.back()->Hello();  // each one served, so it is surely counted
  }
  TestClient extra(path_);
  const auto reply = extra.Receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Bytes(reply->begin(), reply->begin() + 2), (Bytes{0x84, 7}));
  EXPECT_TRUE(extra.WaitForHangup());
}

// A client over the limit that greets at once (its HELLO waits unread when the server turns it
// away) still reads its ERROR 7 before the end of the connection, never a reset.
TEST_F(SocketSeamTest, AClientOverTheLimitReadsItsErrorEvenAfterSpeaking) {
  std::vector<std::unique_ptr<TestClient>> served;
  for (size_t i = 0; i < SocketSeam::kMaxClients; ++i) {
    served.push_back(std::make_unique<TestClient>(path_));
    served.back()->Hello();
  }
  for (int attempt = 0; attempt < 20; ++attempt) {
    SCOPED_TRACE(attempt);
    TestClient extra(path_);
    ASSERT_TRUE(extra.Connected());
    extra.Send(seam::EncodeHello(1));
    extra.Send(seam::EncodeHello(1));
    pollfd p{extra.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    Bytes buffer(256);
    const ssize_t n = ::recv(extra.Fd(), buffer.data(), buffer.size(), 0);
    ASSERT_GE(n, 2) << std::strerror(errno);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 2), (Bytes{0x84, 7}));
    EXPECT_TRUE(extra.WaitForHangup());
  }
  // The served clients are still served.
  served.front()->Send(seam::EncodeHello(1));
  const auto reply = served.front()->Receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], 0x84);
}

// Random datagrams from several clients: the server answers or drops, and keeps serving.
TEST_F(SocketSeamTest, SurvivesRandomBytes) {
  std::mt19937 random(1234);
  {
    TestClient greeted(path_);
    greeted.Hello();
    greeted.Attach(CommandInterface(1));
    TestClient stranger(path_);
    for (int i = 0; i < 400; ++i) {
      Bytes message(random() % 40);
      for (auto& b : message) b = uint8_t(random());
      // Keep to the client's message types most of the time, so the handlers are reached.
      if (!message.empty() && (random() % 4)) message[0] = uint8_t(1 + random() % 4);
      TestClient& target = (i % 2) ? greeted : stranger;
      if (::send(target.Fd(), message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0)
        continue;  // dropped by the server, or its queue is full
      while (target.Receive(0)) {
      }
    }
  }
  TestClient fresh(path_);
  fresh.Hello();
  EXPECT_FALSE(fresh.Attach(CommandInterface(5)).empty());
}

TEST_F(SocketSeamTest, ClientThatStopsReadingStallsWritesInsteadOfBlocking) {
  TestClient client(path_);
  client.Hello();
  client.Attach(CommandInterface(1));
  auto channel = OpenOnly();
  ASSERT_TRUE(channel);
  IoResult last = IoResult::Ok;
  for (int i = 0; i < 100000 && last == IoResult::Ok; ++i)
    last = channel->WriteReport(Bytes(64, 0x04), 5);
  EXPECT_EQ(last, IoResult::Timeout);
}

TEST_F(SocketSeamTest, StopDetachesAndHangsUp) {
  TestClient client(path_);
  client.Hello();
  client.Attach(CommandInterface(1));
  seam_.Stop();
  std::vector<HidNodeInfo> nodes;
  ASSERT_TRUE(bus_->ListNodes(nodes));
  EXPECT_TRUE(nodes.empty());
  EXPECT_TRUE(client.WaitForHangup());
  EXPECT_FALSE(std::filesystem::exists(path_));
  seam_.Stop();  // again: nothing left to do
}

TEST(SocketSeamListen, PathRules) {
  char pattern[] = "/tmp/vorlin-seam-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  auto bus = std::make_shared<VirtualHidBus>();
  std::string error;

  const std::string file = dir + "/plain";
  std::ofstream(file) << "not a socket";
  EXPECT_FALSE(SocketSeam(bus).Listen(file, &error));
  EXPECT_TRUE(std::filesystem::exists(file));  // left alone
  EXPECT_FALSE(SocketSeam(bus).Listen(dir + "/" + std::string(120, 'x'), &error));

  // A socket file whose program is gone is taken over.
  const std::string stale = dir + "/stale.sock";
  {
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, stale.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }
  SocketSeam first(bus);
  ASSERT_TRUE(first.Listen(stale, &error)) << error;
  struct stat st {};
  ASSERT_EQ(::stat(stale.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // A live one is not.
  SocketSeam second(bus);
  EXPECT_FALSE(second.Listen(stale, &error));
  EXPECT_NE(error.find("another program"), std::string::npos) << error;
  TestClient client(stale);
  client.Hello();  // still the first one's
  first.Stop();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorlin
