#include "hid/node_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "hid/hidraw_backend.h"

namespace vorlin {

namespace {

bool BelongsToARow(const HidNodeInfo& node, std::span<const InterfaceEntry> rows) {
  return std::any_of(rows.begin(), rows.end(), [&node](const InterfaceEntry& row) {
    return row.vendorId == node.vendorId && row.productId == node.productId &&
           (node.interfaceNumber < 0 || row.interfaceNumber == node.interfaceNumber);
  });
}

}  // namespace

std::vector<NodeAccessProblem> FindUnopenableNodes(
    std::span<const HidNodeInfo> nodes, std::span<const InterfaceEntry> rows,
    const std::function<int(const std::string& node)>& open_error) {
  std::vector<NodeAccessProblem> problems;
  for (const HidNodeInfo& node : nodes) {
    if (!BelongsToARow(node, rows)) continue;
    if (const int error = open_error(node.node); error != 0)
      problems.push_back({node.node, node.vendorId, node.productId, error});
  }
  return problems;
}

bool AnySupportedNode(std::span<const HidNodeInfo> nodes, std::span<const InterfaceEntry> rows) {
  return std::any_of(nodes.begin(), nodes.end(),
                     [rows](const HidNodeInfo& node) { return BelongsToARow(node, rows); });
}

int HidrawOpenError(const std::string& node) {
  const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

std::vector<NodeAccessProblem> FindUnopenableHidrawNodes(std::span<const InterfaceEntry> rows) {
  std::vector<HidNodeInfo> nodes;
  HidrawBackend backend;
  if (!backend.ListNodes(nodes)) return {};
  return FindUnopenableNodes(nodes, rows, HidrawOpenError);
}

bool SupportedHidrawNodePresent(std::span<const InterfaceEntry> rows) {
  std::vector<HidNodeInfo> nodes;
  HidrawBackend backend;
  return backend.ListNodes(nodes) && AnySupportedNode(nodes, rows);
}

}  // namespace vorlin
