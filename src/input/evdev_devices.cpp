#include "input/evdev_devices.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <utility>

namespace vorlin {
namespace {

constexpr size_t kBitsPerLong = sizeof(unsigned long) * CHAR_BIT;

struct Bits {
  std::array<unsigned long, (KEY_MAX + kBitsPerLong) / kBitsPerLong> key{};
  std::array<unsigned long, (REL_MAX + kBitsPerLong) / kBitsPerLong> rel{};
};

bool TestBit(const unsigned long* bits, int bit) {
  return (bits[bit / kBitsPerLong] >> (bit % kBitsPerLong)) & 1UL;
}

EvdevKind KindOf(int fd) {
  Bits bits;
  if (::ioctl(fd, EVIOCGBIT(EV_KEY, sizeof(bits.key)), bits.key.data()) < 0) return {};
  ::ioctl(fd, EVIOCGBIT(EV_REL, sizeof(bits.rel)), bits.rel.data());
  return ClassifyEvdevNode([&](int type, int code) {
    return TestBit(type == EV_KEY ? bits.key.data() : bits.rel.data(), code);
  });
}

std::string NameOf(int fd) {
  char name[256] = {};
  if (::ioctl(fd, EVIOCGNAME(sizeof(name) - 1), name) < 0) return "?";
  return name;
}

}  // namespace

OpenedInputDevice::OpenedInputDevice(int fd, std::string name, EvdevKind kind)
    : fd_(fd), name_(std::move(name)), kind_(kind) {}

OpenedInputDevice::~OpenedInputDevice() {
  if (fd_ >= 0) ::close(fd_);
}

OpenedInputDevice::OpenedInputDevice(OpenedInputDevice&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), name_(std::move(other.name_)), kind_(other.kind_) {}

OpenedInputDevice& OpenedInputDevice::operator=(OpenedInputDevice&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    name_ = std::move(other.name_);
    kind_ = other.kind_;
  }
  return *this;
}

InputDeviceScan OpenInputDevices(const std::string& folder, const CaptureRequest& request) {
  InputDeviceScan scan;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    if (errno == EACCES) ++scan.denied;
    return scan;
  }
  std::vector<std::string> nodes;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, "event", 5) == 0) nodes.push_back(folder + "/" + entry->d_name);
  }
  ::closedir(dir);
  std::sort(nodes.begin(), nodes.end());
  for (const std::string& node : nodes) {
    const int fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (errno == EACCES || errno == EPERM) ++scan.denied;
      continue;
    }
    const EvdevKind kind = KindOf(fd);
    if (!(kind.keyboard && request.keyboard) && !(kind.mouse && request.mouse)) {
      ::close(fd);
      continue;
    }
    // Time stamps on the monotonic clock, so that intervals survive a change of the wall clock.
    int clock = CLOCK_MONOTONIC;
    ::ioctl(fd, EVIOCSCLOCKID, &clock);
    scan.devices.emplace_back(fd, NameOf(fd), kind);
  }
  return scan;
}

}  // namespace vorlin
