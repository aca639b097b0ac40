#pragma once

// Supported devices the program sees but may not open. On Linux the likeliest reason for "no
// device" is a hidraw node the user has no permission for (the udev rule is not installed), so
// the program says which node and how to fix it.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "hid/device_tables.h"
#include "hid/hid_backend.h"

namespace vorlin {

struct NodeAccessProblem {
  std::string node;  // "/dev/hidraw3"
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  int error = 0;  // errno of the failed open (EACCES, EPERM, ...)
  bool operator==(const NodeAccessProblem&) const = default;
};

// The nodes of `nodes` that belong to a row of `rows` (same vendor, product and, when the node
// has one, USB interface number) and that `open_error` cannot open: it returns 0 when the node
// opens for reading and writing, else the errno. In the order of `nodes`.
std::vector<NodeAccessProblem> FindUnopenableNodes(
    std::span<const HidNodeInfo> nodes, std::span<const InterfaceEntry> rows,
    const std::function<int(const std::string& node)>& open_error);

// Whether any node of `nodes` belongs to a row of `rows`, whether or not it can be opened.
bool AnySupportedNode(std::span<const HidNodeInfo> nodes, std::span<const InterfaceEntry> rows);

// Opens a hidraw node for reading and writing as the program does and closes it again: 0, or the
// errno of the failure.
int HidrawOpenError(const std::string& node);

// The supported hidraw nodes of this machine that cannot be opened.
std::vector<NodeAccessProblem> FindUnopenableHidrawNodes(std::span<const InterfaceEntry> rows);

// Whether this machine has a hidraw node of a supported product (openable or not).
bool SupportedHidrawNodePresent(std::span<const InterfaceEntry> rows);

}  // namespace vorlin
