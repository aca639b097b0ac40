#include "hid/hidraw_backend.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "hid/fd_hid_channel.h"
#include "platform/scoped_fd.h"

namespace vorlin {
namespace {

struct UdevDeleter {
  void operator()(udev* p) const { udev_unref(p); }
  void operator()(udev_device* p) const { udev_device_unref(p); }
  void operator()(udev_enumerate* p) const { udev_enumerate_unref(p); }
};
using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevDeleter>;

// The largest descriptor accepted from sysfs; the kernel itself caps descriptors far below this.
constexpr size_t kMaxSysfsDescriptor = 64 * 1024;

std::optional<uint32_t> ParseHexDigits(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char c : text) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value << 4 | digit;
  }
  return value;
}

// Node names are absolute paths; anything else (empty, relative, with an embedded NUL that open(2)
// would silently cut at) names no node.
std::optional<std::string> NodePath(std::string_view node) {
  if (node.empty() || node.front() != '/' || node.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(node);
}

std::optional<std::vector<uint8_t>> ReadDescriptorFromNode(const char* devnode) {
  ScopedFd fd(::open(devnode, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return std::nullopt;
  int size = 0;
  if (::ioctl(fd.get(), HIDIOCGRDESCSIZE, &size) < 0 || size <= 0) return std::nullopt;
  // HIDIOCGRDESC takes at most HID_MAX_DESCRIPTOR_SIZE - 1 bytes; a longer descriptor is left to
  // the sysfs copy.
  if (size > HID_MAX_DESCRIPTOR_SIZE - 1) return std::nullopt;
  auto rd = std::make_unique<hidraw_report_descriptor>();
  rd->size = static_cast<uint32_t>(size);
  if (::ioctl(fd.get(), HIDIOCGRDESC, rd.get()) < 0) return std::nullopt;
  return std::vector<uint8_t>(rd->value, rd->value + size);
}

std::optional<std::vector<uint8_t>> ReadDescriptorFromSysfs(udev_device* hid) {
  const char* syspath = udev_device_get_syspath(hid);
  if (!syspath) return std::nullopt;
  const std::string path = std::string(syspath) + "/report_descriptor";
  ScopedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::nullopt;
  std::vector<uint8_t> bytes(4096);
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() >= kMaxSysfsDescriptor) return std::nullopt;
      bytes.resize(bytes.size() * 2);
    }
    const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  bytes.resize(used);
  return bytes;
}

std::optional<uint32_t> SysattrHex(udev_device* dev, const char* name, uint32_t maxValue) {
  if (!dev) return std::nullopt;
  const char* value = udev_device_get_sysattr_value(dev, name);
  if (!value) return std::nullopt;
  return ParseSysfsHex(value, maxValue);
}

// Describes one hidraw device whose node is reachable as `node`. False when the identity or the
// descriptor cannot be read.
bool Describe(udev_device* hidraw, const std::string& node, HidNodeInfo& info) {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (!hid) return false;
  const char* hidId = udev_device_get_property_value(hid, "HID_ID");
  if (!hidId) return false;
  const std::optional<HidIdentity> identity = ParseHidId(hidId);
  if (!identity) return false;

  HidNodeInfo result;
  result.node = node;
  result.vendorId = identity->vendorId;
  result.productId = identity->productId;
  udev_device* usbInterface =
      udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface");
  if (const auto number = SysattrHex(usbInterface, "bInterfaceNumber", 0xFF)) {
    result.interfaceNumber = static_cast<int>(*number);
  }
  udev_device* usbDevice =
      udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
  if (const auto version = SysattrHex(usbDevice, "bcdDevice", 0xFFFF)) {
    result.versionNumber = static_cast<uint16_t>(*version);
  }

  std::optional<std::vector<uint8_t>> descriptor = ReadDescriptorFromNode(node.c_str());
  if (!descriptor) descriptor = ReadDescriptorFromSysfs(hid);
  if (!descriptor || descriptor->empty()) return false;
  result.reportDescriptor = std::move(*descriptor);
  info = std::move(result);
  return true;
}

bool IsHidraw(udev_device* dev) {
  const char* subsystem = udev_device_get_subsystem(dev);
  return subsystem && std::string_view(subsystem) == "hidraw";
}

}  // namespace

std::optional<HidIdentity> ParseHidId(std::string_view text) {
  uint32_t fields[3];
  for (int i = 0; i < 3; ++i) {
    const size_t colon = text.find(':');
    const bool last = i == 2;
    if (last != (colon == std::string_view::npos)) return std::nullopt;
    const std::optional<uint32_t> value = ParseHexDigits(text.substr(0, colon));
    if (!value || *value > 0xFFFF) return std::nullopt;
    fields[i] = *value;
    if (!last) text.remove_prefix(colon + 1);
  }
  return HidIdentity{static_cast<uint16_t>(fields[0]), static_cast<uint16_t>(fields[1]),
                     static_cast<uint16_t>(fields[2])};
}

std::optional<uint32_t> ParseSysfsHex(std::string_view text, uint32_t maxValue) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  const std::optional<uint32_t> value = ParseHexDigits(text);
  if (!value || *value > maxValue) return std::nullopt;
  return value;
}

bool HidrawBackend::ListNodes(std::vector<HidNodeInfo>& nodes) {
  nodes.clear();
  UdevPtr context(udev_new());
  if (!context) return false;
  UdevEnumeratePtr enumerate(udev_enumerate_new(context.get()));
  if (!enumerate) return false;
  if (udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0) return false;
  if (udev_enumerate_scan_devices(enumerate.get()) < 0) return false;
  udev_list_entry* entry;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
    const char* syspath = udev_list_entry_get_name(entry);
    UdevDevicePtr dev(udev_device_new_from_syspath(context.get(), syspath));
    if (!dev) continue;  // gone since the scan
    const char* devnode = udev_device_get_devnode(dev.get());
    if (!devnode) continue;
    HidNodeInfo info;
    if (Describe(dev.get(), devnode, info)) nodes.push_back(std::move(info));
  }
  return true;
}

bool HidrawBackend::QueryNode(std::string_view node, HidNodeInfo& info) {
  const std::optional<std::string> path = NodePath(node);
  if (!path) return false;
  // Through the device number rather than the name, so that a symlink to the node (as udev rules
  // may create) is described as the device it points to.
  struct stat st {};
  if (::stat(path->c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  UdevPtr context(udev_new());
  if (!context) return false;
  UdevDevicePtr dev(udev_device_new_from_devnum(context.get(), 'c', st.st_rdev));
  if (!dev || !IsHidraw(dev.get())) return false;
  return Describe(dev.get(), *path, info);
}

std::unique_ptr<HidChannel> HidrawBackend::OpenNode(std::string_view node, bool forRead,
                                                    bool forWrite, bool exclusive) {
  const std::optional<std::string> path = NodePath(node);
  if (!path) return nullptr;
  int mode;
  if (forRead && forWrite) {
    mode = O_RDWR;
  } else if (forRead) {
    mode = O_RDONLY;
  } else if (forWrite) {
    mode = O_WRONLY;
  } else {
    return nullptr;
  }
  ScopedFd fd(::open(path->c_str(), mode | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return nullptr;
  const int lock = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  int rc;
  do {
    rc = ::flock(fd.get(), lock);
  } while (rc < 0 && errno == EINTR);
  if (rc < 0) return nullptr;  // EWOULDBLOCK: someone holds a conflicting lock
  return FdHidChannel::Adopt(fd.release());
}

bool HidrawBackend::NodePresent(std::string_view node) {
  const std::optional<std::string> path = NodePath(node);
  struct stat st {};
  return path && ::stat(path->c_str(), &st) == 0;
}

}  // namespace vorlin
