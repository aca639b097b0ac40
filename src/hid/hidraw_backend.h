#pragma once

// The Linux backend: every hidraw device node is one HID interface. Nodes are found and described
// through libudev, opened with open(2) and moved through an FdHidChannel.
//
// Node names are the device node paths ("/dev/hidraw3"). Any absolute path is accepted by
// OpenNode and NodePresent, which is what lets the tests exercise the open flags and the locking
// on an ordinary file; QueryNode and ListNodes only ever describe character devices of the hidraw
// subsystem.
//
// Identity of a node:
// - vendor and product: the HID_ID property ("bus:vendor:product" in hex) of the parent "hid"
//   device;
// - version: the USB device's "bcdDevice" (what the kernel itself reports as the HID version of a
//   USB device); 0 for a device that is not on USB, since HID_ID carries no version;
// - interface number: "bInterfaceNumber" (hex) of the parent USB interface, -1 when there is none
//   (Bluetooth, I2C);
// - report descriptor: read through the node (HIDIOCGRDESCSIZE/HIDIOCGRDESC), which gives the
//   descriptor as the kernel uses it after any driver fix-ups; when the node cannot be opened
//   (no permission) the "report_descriptor" file of the parent hid device in sysfs.
// A node whose identity or descriptor cannot be read (or whose descriptor is empty) is left out of
// that ListNodes pass, and QueryNode fails for it: a node that cannot be described cannot be
// matched against the supported devices, and the next scan looks at it again.
//
// Opening: read and write access map to O_RDONLY, O_WRONLY or O_RDWR (a request for neither is
// refused), always with O_CLOEXEC | O_NONBLOCK. Exclusion uses flock(2) on the node, without
// waiting: an exclusive open takes LOCK_EX and a shared open LOCK_SH, so an exclusive holder keeps
// every other opener out and a shared holder keeps exclusive openers out, across processes and
// within this one. The lock is advisory: programs that open the node without flock are not kept
// out (the kernel has no other way to share a hidraw node selectively).
//
// The backend keeps no state between calls (each call makes its own udev context), so it may be
// used from several threads at once.

#include <cstdint>
#include <optional>
#include <string_view>

#include "hid/hid_backend.h"

namespace vorlin {

class HidrawBackend : public HidBackend {
 public:
  std::string_view Scheme() const override { return "hidraw"; }
  bool ListNodes(std::vector<HidNodeInfo>& nodes) override;
  bool QueryNode(std::string_view node, HidNodeInfo& info) override;
  std::unique_ptr<HidChannel> OpenNode(std::string_view node, bool forRead, bool forWrite,
                                       bool exclusive) override;
  bool NodePresent(std::string_view node) override;
};

// The value of a hid device's HID_ID property, e.g. "0003:0000320F:0000225E".
struct HidIdentity {
  uint16_t bus = 0;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  bool operator==(const HidIdentity&) const = default;
};

// Parses HID_ID: exactly three colon-separated hexadecimal fields of 1 to 8 digits, bus, vendor and
// product, each of which must fit 16 bits. Anything else (missing or extra fields, signs, spaces,
// other characters, oversized values) gives nullopt.
std::optional<HidIdentity> ParseHidId(std::string_view text);

// Parses a sysfs hexadecimal attribute such as bInterfaceNumber ("01") or bcdDevice ("0110"): 1 to
// 8 hex digits, optionally followed by one newline, no larger than maxValue.
std::optional<uint32_t> ParseSysfsHex(std::string_view text, uint32_t maxValue);

}  // namespace vorlin
