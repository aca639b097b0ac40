#include "sim/socket_seam.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/log.h"
#include "sim/socket_protocol.h"

namespace vorlin {
namespace {

using seam::AttachStatus;
using seam::ErrorCode;

// One connected client. Its descriptor is closed only when the last reference goes, so a writer
// thread that is sending an OUTPUT while the client disconnects never sends on a reused number.
class SeamClient {
 public:
  explicit SeamClient(int fd) : fd_(fd) {}
  ~SeamClient() { ::close(fd_); }
  SeamClient(const SeamClient&) = delete;
  SeamClient& operator=(const SeamClient&) = delete;

  int Fd() const { return fd_; }
  std::mutex& SendMutex() { return sendMutex_; }

  // Queues one datagram without blocking; 0 or the errno of the failure. The caller holds
  // SendMutex (it orders OUTPUT after the ATTACHED of its interface).
  int SendLocked(std::span<const uint8_t> message) const {
    for (;;) {
      if (::send(fd_, message.data(), message.size(), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0) return 0;
      if (errno != EINTR) return errno;
    }
  }
  int Send(std::span<const uint8_t> message) {
    std::lock_guard lock(sendMutex_);
    return SendLocked(message);
  }

  // Used by the server thread only.
  bool welcomed = false;
  std::map<uint32_t, std::string> nodes;  // tag -> bus node

 private:
  const int fd_;
  std::mutex sendMutex_;
};

// An attached interface: hands the program's output reports to the client.
class SeamEndpoint : public VirtualEndpoint {
 public:
  SeamEndpoint(std::weak_ptr<SeamClient> client, uint32_t tag)
      : client_(std::move(client)), tag_(tag) {}

  WriteOutcome OnOutputReport(const std::string&, std::span<const uint8_t> report) override {
    const auto client = client_.lock();
    if (!client || report.size() + 5 > seam::kMaxMessageBytes) return WriteOutcome::Fail;
    const int error = client->Send(seam::EncodeOutput(tag_, report));
    if (error == 0) return WriteOutcome::Accept;
    // A client that does not keep reading leaves the report untaken, as a busy device would.
    if (error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS) return WriteOutcome::Stall;
    return WriteOutcome::Fail;
  }

 private:
  std::weak_ptr<SeamClient> client_;
  const uint32_t tag_;
};

bool SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

std::string ErrnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

sockaddr_un AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  return address;
}

// Whether a program accepts connections on the socket file at `path` right now.
bool SomeoneListens(const sockaddr_un& address) {
  const int probe = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool listens =
      ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(probe);
  return listens;
}

}  // namespace

// A client turned away over the limit. Closing a socket whose peer's datagrams lie unread makes
// the peer's next read fail with a reset before it sees anything queued, so the ERROR 7 would be
// lost. The server instead reads and drops what the client sends, and closes once the client has
// hung up or its grace time has passed.
struct RefusedClient {
  std::unique_ptr<SeamClient> client;
  std::chrono::steady_clock::time_point closeBy;
};

struct SocketSeam::Server {
  std::vector<std::shared_ptr<SeamClient>> clients;
  std::vector<RefusedClient> refused;
  ino_t socketInode = 0;  // of the file we bound, so Stop removes only our own
  bool acceptPaused = false;
  std::vector<uint8_t> buffer = std::vector<uint8_t>(seam::kMaxMessageBytes);
};

SocketSeam::SocketSeam(std::shared_ptr<VirtualHidBus> bus) : bus_(std::move(bus)) {}

SocketSeam::~SocketSeam() {
  Stop();
}

bool SocketSeam::Listen(const std::string& path, std::string* error) {
  if (IsListening()) return SetError(error, "already listening on " + path_);
  if (path.empty() || path.size() >= sizeof(sockaddr_un::sun_path))
    return SetError(error, "socket path empty or too long: " + path);
  const sockaddr_un address = AddressOf(path);
  const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return SetError(error, ErrnoText("socket"));
  const auto fail = [&](const std::string& text) {
    ::close(fd);
    return SetError(error, text);
  };
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EADDRINUSE) return fail(ErrnoText(("bind " + path).c_str()));
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode))
      return fail(path + " exists and is not a socket");
    if (SomeoneListens(address)) return fail("another program listens on " + path);
    // A socket file left behind by a run that ended without cleaning up.
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
      return fail(ErrnoText(("bind " + path).c_str()));
  }
  auto server = std::make_unique<Server>();
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) server->socketInode = st.st_ino;
  // Nobody can connect before listen(), so tightening the mode here leaves no window.
  if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
    const std::string text = ErrnoText(("listen " + path).c_str());
    ::unlink(path.c_str());
    return fail(text);
  }
  listenFd_ = fd;
  path_ = path;
  server_ = std::move(server);
  stop_.Reset();
  thread_ = std::thread([this] { Run(); });
  qCInfo(lcVorlin) << "emulator socket listening on" << path.c_str();
  return true;
}

void SocketSeam::Stop() {
  if (thread_.joinable()) {
    stop_.Set();
    thread_.join();
  }
  if (server_) {
    for (const auto& client : server_->clients) {
      for (const auto& [tag, node] : client->nodes) bus_->Detach(node);
      ::shutdown(client->Fd(), SHUT_RDWR);
    }
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0 && st.st_ino == server_->socketInode)
      ::unlink(path_.c_str());
    server_.reset();
  }
  if (listenFd_ >= 0) {
    ::close(listenFd_);
    listenFd_ = -1;
  }
}

namespace {

// The server thread's handling of one client, apart from the socket loop.
class ClientSession {
 public:
  ClientSession(VirtualHidBus& bus, const std::shared_ptr<SeamClient>& client)
      : bus_(bus), client_(client) {}

  // Handles one datagram; false when the client is to be dropped.
  bool Handle(std::span<const uint8_t> bytes) {
    seam::ClientMessage message;
    seam::ParseFailure failure;
    if (!seam::ParseClientMessage(bytes, message, failure))
      return Reply(seam::EncodeError(failure.code, failure.text));
    SeamClient& c = *client_;
    if (!c.welcomed && message.type != seam::MessageType::Hello)
      return Reply(seam::EncodeError(ErrorCode::HelloRequired, "send HELLO first"));
    switch (message.type) {
      case seam::MessageType::Hello:
        if (c.welcomed) return Reply(seam::EncodeError(ErrorCode::RepeatedHello, "HELLO again"));
        if (message.version < seam::kProtocolVersion) {
          Reply(seam::EncodeError(ErrorCode::UnsupportedVersion,
                                  "version " + std::to_string(message.version) + " unsupported"));
          return false;
        }
        c.welcomed = true;
        return Reply(seam::EncodeWelcome(seam::kProtocolVersion));
      case seam::MessageType::Attach:
        return Attach(message.attach);
      case seam::MessageType::Detach: {
        const auto it = c.nodes.find(message.tag);
        if (it == c.nodes.end()) return UnknownTag(message.tag);
        bus_.Detach(it->second);
        c.nodes.erase(it);
        return true;
      }
      case seam::MessageType::Input: {
        const auto it = c.nodes.find(message.tag);
        if (it == c.nodes.end()) return UnknownTag(message.tag);
        bus_.SendInput(it->second, message.report);
        return true;
      }
      default:
        return Reply(seam::EncodeError(ErrorCode::Malformed, "not a client message"));
    }
  }

 private:
  bool Reply(const std::vector<uint8_t>& message) {
    const int error = client_->Send(message);
    if (error != 0)
      qCWarning(lcVorlin) << "emulator socket: dropping a client that does not read its replies:"
                          << std::strerror(error);
    return error == 0;
  }

  bool UnknownTag(uint32_t tag) {
    return Reply(seam::EncodeError(ErrorCode::UnknownTag,
                                   "tag " + std::to_string(tag) + " is not attached"));
  }

  bool Attach(const seam::AttachRequest& request) {
    SeamClient& c = *client_;
    AttachStatus status = AttachStatus::Ok;
    if (c.nodes.count(request.tag)) {
      status = AttachStatus::TagInUse;
    } else if (c.nodes.size() >= SocketSeam::kMaxInterfacesPerClient) {
      status = AttachStatus::TooManyInterfaces;
    } else if (request.descriptor.size() > seam::kMaxDescriptorBytes) {
      status = AttachStatus::DescriptorTooLong;
    }
    if (status != AttachStatus::Ok) return Reply(seam::EncodeAttached(request.tag, status, {}));

    VirtualInterfaceSpec spec;
    spec.vendorId = request.vendorId;
    spec.productId = request.productId;
    spec.versionNumber = request.versionNumber;
    spec.interfaceNumber =
        request.interfaceNumber == seam::kNoNumber ? -1 : request.interfaceNumber;
    spec.collectionNumber =
        request.collectionNumber == seam::kNoNumber ? -1 : request.collectionNumber;
    spec.reportDescriptor = request.descriptor.empty()
                                ? seam::DefaultReportDescriptor(request.usagePage, request.usage)
                                : request.descriptor;
    // Held across the attach so that an OUTPUT for the new interface, which the program may write
    // as soon as the node exists, reaches the client after its ATTACHED.
    std::lock_guard lock(c.SendMutex());
    const std::string node =
        bus_.Attach(spec, std::make_shared<SeamEndpoint>(client_, request.tag));
    c.nodes.emplace(request.tag, node);
    return c.SendLocked(seam::EncodeAttached(request.tag, AttachStatus::Ok, node)) == 0;
  }

  VirtualHidBus& bus_;
  const std::shared_ptr<SeamClient>& client_;
};

// How long a client turned away over the limit may take to read its error.
constexpr std::chrono::milliseconds kRefusedGraceTime{1000};

// Reads and drops whatever the client has sent.
void Drain(const SeamClient& client) {
  std::array<uint8_t, 512> scrap;
  while (::recv(client.Fd(), scrap.data(), scrap.size(), MSG_DONTWAIT | MSG_TRUNC) > 0) {
  }
}

// Drains, then ends the connection with nothing unread on our side, so the client sees its
// queued messages and then the end rather than a reset.
void DrainAndClose(SeamClient& client) {
  Drain(client);
  ::shutdown(client.Fd(), SHUT_RDWR);
}

}  // namespace

void SocketSeam::Run() {
  Server& server = *server_;
  const auto drop = [&](const std::shared_ptr<SeamClient>& client) {
    for (const auto& [tag, node] : client->nodes) bus_->Detach(node);
    client->nodes.clear();
    ::shutdown(client->Fd(), SHUT_RDWR);
    auto& list = server.clients;
    list.erase(std::remove(list.begin(), list.end(), client), list.end());
    server.acceptPaused = false;
    qCDebug(lcVorlin) << "emulator socket: client gone";
  };

  std::vector<pollfd> fds;
  for (;;) {
    fds.clear();
    fds.push_back({stop_.Fd(), POLLIN, 0});
    fds.push_back({server.acceptPaused ? -1 : listenFd_, POLLIN, 0});
    const std::vector<std::shared_ptr<SeamClient>> clients = server.clients;
    for (const auto& client : clients) fds.push_back({client->Fd(), POLLIN | POLLRDHUP, 0});
    const size_t refusedAt = fds.size();
    for (const RefusedClient& refused : server.refused)
      fds.push_back({refused.client->Fd(), POLLIN | POLLRDHUP, 0});
    // Without accepting (out of descriptors), look again after a second instead of spinning; a
    // refused client's grace time also ends the wait.
    int timeoutMs = server.acceptPaused ? 1000 : -1;
    if (!server.refused.empty()) {
      const auto now = std::chrono::steady_clock::now();
      auto first = server.refused.front().closeBy;
      for (const RefusedClient& refused : server.refused) first = std::min(first, refused.closeBy);
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                            std::max(first - now, std::chrono::steady_clock::duration::zero()))
                            .count();
      timeoutMs = timeoutMs < 0 ? int(left) : std::min(timeoutMs, int(left));
    }
    const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      qCWarning(lcVorlin) << "emulator socket: poll failed:" << std::strerror(errno);
      break;
    }
    if (fds[0].revents) break;
    if (ready == 0) server.acceptPaused = false;

    // Refused clients: drop what they sent; close the ones that hung up or whose time is up.
    // Those accepted in this round are not in `fds` and wait for the next.
    {
      const auto now = std::chrono::steady_clock::now();
      const size_t polled = fds.size() - refusedAt;
      size_t kept = 0;
      for (size_t i = 0; i < server.refused.size(); ++i) {
        RefusedClient& refused = server.refused[i];
        const short revents = i < polled ? fds[refusedAt + i].revents : 0;
        const bool ended = (revents & (POLLHUP | POLLRDHUP | POLLERR)) || now >= refused.closeBy;
        if (revents & POLLIN) Drain(*refused.client);
        if (ended) {
          DrainAndClose(*refused.client);
          continue;
        }
        if (kept != i) server.refused[kept] = std::move(refused);
        ++kept;
      }
      server.refused.resize(kept);
    }

    if (fds[1].revents & POLLIN) {
      for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
          if (errno == EINTR || errno == ECONNABORTED) continue;
          if (errno != EAGAIN && errno != EWOULDBLOCK) {
            qCWarning(lcVorlin) << "emulator socket: accept failed:" << std::strerror(errno);
            server.acceptPaused = true;
          }
          break;
        }
        if (server.clients.size() >= kMaxClients) {
          auto refused = std::make_unique<SeamClient>(fd);
          refused->Send(seam::EncodeError(ErrorCode::Busy, "too many clients"));
          // Nothing more comes from us: the client reads the error, then the end.
          ::shutdown(fd, SHUT_WR);
          if (server.refused.size() >= kMaxClients) {
            DrainAndClose(*server.refused.front().client);
            server.refused.erase(server.refused.begin());
          }
          server.refused.push_back(
              {std::move(refused), std::chrono::steady_clock::now() + kRefusedGraceTime});
          continue;
        }
        auto client = std::make_shared<SeamClient>(fd);
        server.clients.push_back(std::move(client));
        qCDebug(lcVorlin) << "emulator socket: client connected";
      }
    }

    for (size_t i = 0; i < clients.size(); ++i) {
      const short revents = fds[i + 2].revents;
      if (!revents) continue;
      const auto& client = clients[i];
      if (!(revents & POLLIN)) {  // hang-up or error with nothing left to read
        drop(client);
        continue;
      }
      // One datagram per round keeps a chatty client from starving the others.
      const ssize_t n = ::recv(client->Fd(), server.buffer.data(), server.buffer.size(),
                               MSG_DONTWAIT | MSG_TRUNC);
      if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        drop(client);
        continue;
      }
      // A zero-length read is the end of the stream once the peer has hung up; before that it is
      // an empty datagram, which the parser refuses.
      if (n == 0 && (revents & (POLLHUP | POLLRDHUP))) {
        drop(client);
        continue;
      }
      bool keep;
      if (size_t(n) > server.buffer.size()) {
        keep = client->Send(
                   seam::EncodeError(ErrorCode::TooLong, "message longer than 8192 bytes")) == 0;
      } else {
        keep = ClientSession(*bus_, client)
                   .Handle(std::span<const uint8_t>(server.buffer.data(), size_t(n)));
      }
      if (!keep) drop(client);
    }
  }
}

}  // namespace vorlin
