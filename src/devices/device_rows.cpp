#include "devices/device_rows.h"

#include "hid/slot_list.h"

namespace vorlin {

const std::array<DeviceOptionEntry, kDeviceRowCount>& DeviceOptionTable() {
  static const QString option = QStringLiteral("XML\\CustomControlXML\\DeviceOption.xml");
  static const QString group = QStringLiteral("tab_header_device");
  static const QString power = QStringLiteral("device_power_switch");
  static const std::array<DeviceOptionEntry, kDeviceRowCount> table = {{
      {option, group, power, QStringLiteral("mouse"), 1, 0x320F, 0x225E, kKindMouse, 0},
      {option, group, power, QStringLiteral("keyboard"), 0, 0, 0, kKindKeyboard, 0},
      {option, group, power, QStringLiteral("MousePad"), 2, 0x320F, 0x1004, kKindMousePad, 0},
      {option, group, power, QStringLiteral("HD"), 3, 0x0C76, 0x1630, kKindHeadset, 0},
  }};
  return table;
}

const std::array<DevicePageEntry, kDeviceRowCount>& DevicePageTable() {
  static const QString light = QStringLiteral("torva_light");
  static const std::array<DevicePageEntry, kDeviceRowCount> table = {{
      {15, 11, 1, -1, QStringLiteral("XML\\DeviceXml\\mousedevice.xml"), light},
      {170, 170, 0, -1, QStringLiteral("XML\\DeviceXml\\keyboarddevice.xml"), light},
      {15, 0, 0, -1, QStringLiteral("XML\\DeviceXml\\mousepaddevice.xml"), light},
      {13, 0, 0, -1, QStringLiteral("XML\\DeviceXml\\hs6533device.xml"), light},
  }};
  return table;
}

DeviceFamily FamilyOfKind(uint32_t kind) {
  switch (kind) {
    case kKindMouse:
    case kKindMouseReceiver:
      return DeviceFamily::kMouse;
    case kKindKeyboard:
    case kKindKeyboardReceiver:
      return DeviceFamily::kKeyboard;
    case kKindMousePad:
      return DeviceFamily::kMousePad;
    case kKindHeadset:
      return DeviceFamily::kHeadset;
  }
  return DeviceFamily::kNone;
}

bool IsReceiverKind(uint32_t kind) {
  return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}

uint32_t CableKind(uint32_t kind) {
  if (kind == kKindMouseReceiver) return kKindMouse;
  if (kind == kKindKeyboardReceiver) return kKindKeyboard;
  return kind;
}

std::optional<size_t> FindOptionRow(uint32_t vendorId, uint32_t productId, uint32_t kind) {
  const auto& table = DeviceOptionTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const DeviceOptionEntry& row = table[i];
    if (row.vendorId == vendorId && row.productId == productId && row.kind == CableKind(kind) &&
        row.variant == 0)
      return i;
  }
  return std::nullopt;
}

std::optional<size_t> CommandRowOf(const InterfaceEntry& entry) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& row = table[i];
    if (row.role == kRoleCommand && row.vendorId == entry.vendorId &&
        row.productId == entry.productId && row.kind == entry.kind)
      return i;
  }
  return std::nullopt;
}

std::optional<InterfaceEntry> PageKeyOfSlot(const SlotList& slotList, size_t slot) {
  if (slot >= slotList.size()) return std::nullopt;
  const auto& table = InterfaceTable();
  std::optional<size_t> row = slot;
  if (slotList[slot].role == kRoleEvent) row = CommandRowOf(slotList[slot]);
  if (!row) return std::nullopt;
  const InterfaceEntry& command = table[*row];
  if (IsReceiverKind(command.kind) && command.hasPartner && command.partner < table.size())
    return table[command.partner];
  InterfaceEntry key = command;
  key.bound = 0;
  key.path.clear();
  return key;
}

bool PartnerBound(const SlotList& slotList, size_t slot) {
  if (slot >= slotList.size() || !slotList[slot].hasPartner) return false;
  const size_t partner = slotList[slot].partner;
  if (partner >= slotList.size()) return false;
  const InterfaceEntry& other = slotList[partner];
  return other.bound && !other.path.empty() && other.hasPartner && other.partner == slot;
}

QString DeviceIconStem(uint32_t kind, int variant) {
  switch (kind) {
    case kKindKeyboard:
      return QStringLiteral("kb");
    case kKindMouse:
      return QStringLiteral("ms");
    case kKindMousePad:
      if (variant == 0) return QStringLiteral("hard_mp");
      if (variant == 1) return QStringLiteral("soft_mp");
      return {};
    case 4:
    case kKindHeadset:
      return QStringLiteral("hd");
    case 5:
      return QStringLiteral("hub");
  }
  return QStringLiteral("unknow");
}

}  // namespace vorlin
