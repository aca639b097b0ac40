#pragma once

// Tells when hidraw nodes come and go, so that the discovery scanner can sleep on a file
// descriptor (beside its stop event) instead of scanning on a timer. Events come from udev, not
// straight from the kernel: udev announces a node only after its rules have run, so the node
// already has the permissions it will keep when the scanner opens it.

#include <memory>

struct udev;
struct udev_monitor;

namespace vorlin {

class HidrawHotplugMonitor {
 public:
  // nullptr when no udev monitor can be set up (no netlink socket, e.g. in some sandboxes); the
  // caller then has to fall back to rescanning on a timer.
  static std::unique_ptr<HidrawHotplugMonitor> Create();

  ~HidrawHotplugMonitor();
  HidrawHotplugMonitor(const HidrawHotplugMonitor&) = delete;
  HidrawHotplugMonitor& operator=(const HidrawHotplugMonitor&) = delete;

  // Readable while events are pending; valid for the object's lifetime. Non-blocking.
  int Fd() const { return fd_; }
  // Consumes every pending event without blocking. True when at least one hidraw node was added
  // or removed since the last call.
  bool Drain();

 private:
  struct Deleter {
    void operator()(udev* p) const;
    void operator()(udev_monitor* p) const;
  };
  struct Token {
    explicit Token() = default;
  };

 public:
  HidrawHotplugMonitor(Token, std::unique_ptr<udev, Deleter> context,
                       std::unique_ptr<udev_monitor, Deleter> monitor, int fd);

 private:
  std::unique_ptr<udev, Deleter> context_;
  std::unique_ptr<udev_monitor, Deleter> monitor_;  // released before context_
  int fd_;                                          // owned by monitor_
};

}  // namespace vorlin
