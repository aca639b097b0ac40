#include "hid/hotplug_monitor.h"

#include <fcntl.h>
#include <libudev.h>

#include <cerrno>
#include <string_view>

namespace vorlin {

void HidrawHotplugMonitor::Deleter::operator()(udev* p) const {
  udev_unref(p);
}
void HidrawHotplugMonitor::Deleter::operator()(udev_monitor* p) const {
  udev_monitor_unref(p);
}

std::unique_ptr<HidrawHotplugMonitor> HidrawHotplugMonitor::Create() {
  std::unique_ptr<udev, Deleter> context(udev_new());
  if (!context) return nullptr;
  std::unique_ptr<udev_monitor, Deleter> monitor(
      udev_monitor_new_from_netlink(context.get(), "udev"));
  if (!monitor) return nullptr;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor.get()) < 0) {
    return nullptr;
  }
  const int fd = udev_monitor_get_fd(monitor.get());
  if (fd < 0) return nullptr;
  // Drain() reads until nothing is left, which must end in EAGAIN rather than a blocking read.
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || (!(flags & O_NONBLOCK) && fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)) {
    return nullptr;
  }
  return std::make_unique<HidrawHotplugMonitor>(Token{}, std::move(context), std::move(monitor),
                                                fd);
}

HidrawHotplugMonitor::HidrawHotplugMonitor(Token, std::unique_ptr<udev, Deleter> context,
                                           std::unique_ptr<udev_monitor, Deleter> monitor, int fd)
    : context_(std::move(context)), monitor_(std::move(monitor)), fd_(fd) {}

HidrawHotplugMonitor::~HidrawHotplugMonitor() = default;

bool HidrawHotplugMonitor::Drain() {
  bool changed = false;
  for (;;) {
    errno = 0;
    udev_device* dev = udev_monitor_receive_device(monitor_.get());
    if (!dev) {
      // Anything but "nothing left" (ENOBUFS: the socket overflowed) means events may have been
      // lost, so the caller must look at the nodes again.
      if (errno != 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) changed = true;
      return changed;
    }
    const char* action = udev_device_get_action(dev);
    if (action) {
      const std::string_view a(action);
      if (a == "add" || a == "remove") changed = true;
    }
    udev_device_unref(dev);
  }
}

}  // namespace vorlin
