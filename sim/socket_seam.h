#pragma once

// The emulator socket: an outside process attaches emulated HID interfaces to the virtual bus and
// answers for them, so that a device model written in any language can drive the program. The
// protocol is described in docs/emulator-socket.md and implemented in sim/socket_protocol.h.
//
// One server thread poll()s the listening socket, every client and a stop event. Each attached
// interface is a VirtualEndpoint that forwards the program's output reports to its client; a
// client that disconnects takes its interfaces with it.

#include <memory>
#include <string>
#include <thread>

#include "hid/virtual_bus.h"
#include "platform/stop_event.h"

namespace vorlin {

class SocketSeam {
 public:
  // At most this many clients at once; a further one is closed right after it connects.
  static constexpr size_t kMaxClients = 16;
  // At most this many interfaces per client.
  static constexpr size_t kMaxInterfacesPerClient = 32;

  explicit SocketSeam(std::shared_ptr<VirtualHidBus> bus);
  ~SocketSeam();
  SocketSeam(const SocketSeam&) = delete;
  SocketSeam& operator=(const SocketSeam&) = delete;

  // Creates the listening socket at `path` (mode 0600) and starts serving. A stale socket left at
  // the path by an earlier run is replaced; a path where another program listens, or that is not a
  // socket, is refused. False, with the reason in *error when given, when it cannot listen.
  bool Listen(const std::string& path, std::string* error = nullptr);
  // Stops serving: joins the server thread, detaches every client's interfaces, closes the
  // clients and removes the socket file. Safe to call more than once.
  void Stop();

  bool IsListening() const { return listenFd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  struct Server;
  void Run();

  std::shared_ptr<VirtualHidBus> bus_;
  std::string path_;
  int listenFd_ = -1;
  StopEvent stop_;
  std::unique_ptr<Server> server_;  // the server thread's own state
  std::thread thread_;
};

}  // namespace vorlin
