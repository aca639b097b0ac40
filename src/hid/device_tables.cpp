#include "hid/device_tables.h"

#include "hid/interface_path.h"

namespace vorlin {

bool SameDeviceKey(const InterfaceEntry& a, const InterfaceEntry& b) {
  return a.vendorId == b.vendorId && a.productId == b.productId &&
         a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
         a.kind == b.kind && a.role == b.role && a.usagePage == b.usagePage && a.usage == b.usage;
}

bool IsReceiverKind(uint32_t kind) {
  return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}

uint32_t CableKind(uint32_t kind) {
  if (kind == kKindMouseReceiver) return kKindMouse;
  if (kind == kKindKeyboardReceiver) return kKindKeyboard;
  return kind;
}

PathNumbers ParsePathNumbers(const std::string& path) {
  return {static_cast<uint16_t>(ParseHexTag(path, "vid_")),
          static_cast<uint16_t>(ParseHexTag(path, "pid_")),
          static_cast<uint16_t>(ParseHexTag(path, "&mi_")),
          static_cast<uint16_t>(ParseHexTag(path, "&col"))};
}

std::optional<size_t> FindInterfaceRow(std::span<const InterfaceEntry> table,
                                       const PathNumbers& n, uint16_t usagePage, uint16_t usage) {
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
