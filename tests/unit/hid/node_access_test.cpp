// Which supported nodes the program sees but cannot open.

#include "hid/node_access.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

namespace vorlin {
namespace {

HidNodeInfo Node(std::string path, uint16_t vid, uint16_t pid, int interface_number) {
  HidNodeInfo info;
  info.node = std::move(path);
  info.vendorId = vid;
  info.productId = pid;
  info.interfaceNumber = interface_number;
  return info;
}

InterfaceEntry Row(uint16_t vid, uint16_t pid, uint16_t interface_number) {
  InterfaceEntry row;
  row.vendorId = vid;
  row.productId = pid;
  row.interfaceNumber = interface_number;
  return row;
}

TEST(NodeAccessTest, ReportsOnlySupportedInterfacesThatDoNotOpen) {
  const std::vector<InterfaceEntry> rows = {Row(0x320F, 0x225E, 0), Row(0x320F, 0x225E, 1),
                                            Row(0x0C76, 0x1630, 3)};
  const std::vector<HidNodeInfo> nodes = {
      Node("/dev/hidraw0", 0x320F, 0x225E, 0),   // supported, no permission
      Node("/dev/hidraw1", 0x320F, 0x225E, 1),   // supported, opens
      Node("/dev/hidraw2", 0x320F, 0x225E, 2),   // the product's interface the program leaves alone
      Node("/dev/hidraw3", 0x046D, 0xC52B, 0),   // another vendor's receiver, no permission
      Node("/dev/hidraw4", 0x0C76, 0x1630, 3),   // supported, gone meanwhile
      Node("/dev/hidraw5", 0x0C76, 0x1630, -1),  // not on USB: no interface number to compare
  };
  const std::map<std::string, int> errors = {{"/dev/hidraw0", EACCES},
                                             {"/dev/hidraw2", EACCES},
                                             {"/dev/hidraw3", EACCES},
                                             {"/dev/hidraw4", ENOENT},
                                             {"/dev/hidraw5", EPERM}};
  const auto open_error = [&errors](const std::string& node) {
    const auto found = errors.find(node);
    return found == errors.end() ? 0 : found->second;
  };
  const std::vector<NodeAccessProblem> expected = {
      {"/dev/hidraw0", 0x320F, 0x225E, EACCES},
      {"/dev/hidraw4", 0x0C76, 0x1630, ENOENT},
      {"/dev/hidraw5", 0x0C76, 0x1630, EPERM},
  };
  EXPECT_EQ(FindUnopenableNodes(nodes, rows, open_error), expected);
  EXPECT_TRUE(FindUnopenableNodes(nodes, {}, open_error).empty());

  // A supported device is there whether or not it opens; other interfaces do not count.
  EXPECT_TRUE(AnySupportedNode(nodes, rows));
  EXPECT_FALSE(AnySupportedNode(std::span(nodes).subspan(2, 2), rows));
}

TEST(NodeAccessTest, OpeningANodeGivesTheSystemsReason) {
  EXPECT_EQ(HidrawOpenError("/nonexistent/hidraw9"), ENOENT);
  EXPECT_EQ(HidrawOpenError("/"), EISDIR);
  EXPECT_EQ(HidrawOpenError("/dev/null"), 0);
}

}  // namespace
}  // namespace vorlin
