#include "hid/device_tables.h"

#include "hid/interface_path.h"

namespace vorlin {

bool SameDeviceKey(const InterfaceEntry& a, const InterfaceEntry& b) {
  return a.vendorId == b.vendorId && a.productId == b.productId &&
         a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
         a.kind == b.kind && a.role == b.role && a.usagePage == b.usagePage && a.usage == b.usage;
}

const std::array<InterfaceEntry, kInterfaceTableSize>& InterfaceTable() {
  // The keyboard rows carry vendor and product id 0, which no real interface path presents.
  static const std::array<InterfaceEntry, kInterfaceTableSize> table = {{
      {0x0000, 0x0000, 1, 4, kKindKeyboard, kRoleCommand, 0, 0xFF1C, 0x92, 1, 2, {}},
      {0x0000, 0x0000, 1, 3, kKindKeyboard, kRoleEvent, 0, 0x0C, 0x01, 1, 3, {}},
      {0x0000, 0x0000, 1, 4, kKindKeyboardReceiver, kRoleCommand, 0, 0xFF1C, 0x92, 1, 0, {}},
      {0x0000, 0x0000, 1, 3, kKindKeyboardReceiver, kRoleEvent, 0, 0x0C, 0x01, 1, 1, {}},
      {0x320F, 0x225E, 1, 4, kKindMouse, kRoleCommand, 0, 0xFF1C, 0x92, 1, 6, {}},
      {0x320F, 0x225E, 1, 3, kKindMouse, kRoleEvent, 0, 0x0C, 0x01, 1, 7, {}},
      {0x320F, 0x225F, 1, 4, kKindMouseReceiver, kRoleCommand, 0, 0xFF1C, 0x92, 1, 4, {}},
      {0x320F, 0x225F, 1, 3, kKindMouseReceiver, kRoleEvent, 0, 0x0C, 0x01, 1, 5, {}},
      {0x320F, 0x1004, 1, 4, kKindMousePad, kRoleCommand, 0, 0xFF1C, 0x92, 0, 0, {}},
      {0x320F, 0x1004, 1, 3, kKindMousePad, kRoleEvent, 0, 0x0C, 0x01, 0, 0, {}},
      {0x0C76, 0x1630, 3, 0, kKindHeadset, kRoleCommand, 0, 0x0C, 0x01, 0, 0, {}},
  }};
  return table;
}

PathNumbers ParsePathNumbers(const std::string& path) {
  return {static_cast<uint16_t>(ParseHexTag(path, "vid_")),
          static_cast<uint16_t>(ParseHexTag(path, "pid_")),
          static_cast<uint16_t>(ParseHexTag(path, "&mi_")),
          static_cast<uint16_t>(ParseHexTag(path, "&col"))};
}

std::optional<size_t> FindInterfaceRow(const PathNumbers& n, uint16_t usagePage, uint16_t usage) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& e = table[i];
    if (e.vendorId == n.vendorId && e.productId == n.productId &&
        e.interfaceNumber == n.interfaceNumber && e.collectionNumber == n.collectionNumber &&
        e.usagePage == usagePage && e.usage == usage)
      return i;
  }
  return std::nullopt;
}

}  // namespace vorlin
