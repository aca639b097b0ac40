#pragma once

// The seam between HidDevice and the places HID interfaces come from. A backend lists nodes (one
// node per USB HID interface: a hidraw device node, or an emulated interface on the virtual bus),
// tells each node's identity and report descriptor, and opens a node as a channel that moves whole
// reports. Everything above it (paths with their vid_/pid_/&mi_/&col tags, top-level collections,
// report-id filtering, decoding) is common code in HidDevice, so both backends behave alike.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin {

struct HidNodeInfo {
  std::string node;  // backend-specific name: "/dev/hidraw3", or a virtual bus node name
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;
  int interfaceNumber = -1;  // USB interface number (bInterfaceNumber); -1 when not a USB device
  // -1: the node is a whole interface and every top-level collection of its descriptor becomes one
  // path (numbered 1, 2, ... when there are several, 0 when there is one). 0 or more: the node is
  // exactly one collection (the descriptor's first) with this number, as an emulated interface
  // attached by its six identity numbers is.
  int collectionNumber = -1;
  std::vector<uint8_t> reportDescriptor;
};

enum class IoResult { Ok, Timeout, Aborted, Error };

// One open node. Reports travel as they do on a Linux hidraw node: a report written always starts
// with its report id byte (0 when the descriptor declares no report ids), while a report read
// starts with its report id only when the descriptor declares ids (otherwise it is the bare data).
class HidChannel {
 public:
  virtual ~HidChannel() = default;
  // Waits at most timeoutMs (negative: no limit) for the next input report of the node. On Ok the
  // report is copied into buffer (cut to its size) and its length is stored in `received`.
  virtual IoResult ReadReport(std::span<uint8_t> buffer, size_t& received, int timeoutMs) = 0;
  // Sends one output report, waiting at most timeoutMs (negative: no limit) for the node to take it.
  virtual IoResult WriteReport(std::span<const uint8_t> report, int timeoutMs) = 0;
  // May be called from any thread: a waiting ReadReport or WriteReport returns Aborted at once,
  // and so does every later call. Used by HidDevice::Close to release a blocked reader.
  virtual void Abort() = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Prefix of this backend's interface paths ("hidraw", "virtual").
  virtual std::string_view Scheme() const = 0;
  // Every node present now. False when the list cannot be obtained at all.
  virtual bool ListNodes(std::vector<HidNodeInfo>& nodes) = 0;
  // Identity and descriptor of one node; false when it is gone or cannot be read.
  virtual bool QueryNode(std::string_view node, HidNodeInfo& info) = 0;
  // Opens a node; nullptr when it is absent, not accessible, or held exclusively by someone else.
  virtual std::unique_ptr<HidChannel> OpenNode(std::string_view node, bool forRead, bool forWrite,
                                               bool exclusive) = 0;
  // Whether the node is still there (the discovery scan's presence test).
  virtual bool NodePresent(std::string_view node) = 0;

  // Change notice for the discovery scanner, which sleeps instead of polling: a descriptor that
  // turns readable once nodes may have been attached or detached, or -1 when this backend gives no
  // such notice (the scanner then rescans on a timer). The scanner calls ClearChange before it
  // lists the nodes again, so a change made after that keeps the descriptor readable. Meant for
  // one scanner at a time; the descriptor stays valid for the backend's lifetime.
  virtual int ChangeFd() { return -1; }
  virtual void ClearChange() {}
};

// The backends HidDevice enumerates and opens paths on. Normally the hidraw backend alone; demo
// mode and the tests put the virtual bus here. Thread-safe.
class HidBackends {
 public:
  static void Add(std::shared_ptr<HidBackend> backend);
  static void Remove(const std::shared_ptr<HidBackend>& backend);
  static void Clear();
  static std::vector<std::shared_ptr<HidBackend>> All();
  // The backend whose scheme starts `path` ("scheme:..."), or nullptr.
  static std::shared_ptr<HidBackend> ForPath(std::string_view path);
};

}  // namespace vorlin
