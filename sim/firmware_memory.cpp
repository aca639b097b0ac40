#include "sim/firmware_memory.h"

#include <utility>

namespace vorlin {

std::string_view FirmwareKindName(FirmwareKind kind) {
  switch (kind) {
    case FirmwareKind::Mouse:
      return "mouse";
    case FirmwareKind::Keyboard:
      return "keyboard";
    case FirmwareKind::MousePad:
      return "mouse pad";
    case FirmwareKind::Headset:
      return "headset";
  }
  return "?";
}

std::string_view MemoryAreaName(MemoryArea area) {
  switch (area) {
    case MemoryArea::DeviceInfo:
      return "device information";
    case MemoryArea::Params:
      return "parameters";
    case MemoryArea::DefaultKeyTable:
      return "default key table";
    case MemoryArea::KeyTable:
      return "key table";
    case MemoryArea::KeyTable2:
      return "second key table";
    case MemoryArea::ColorTables:
      return "colour tables";
    case MemoryArea::LightFrame:
      return "lighting frame";
    case MemoryArea::Macro:
      return "macro area";
    case MemoryArea::Shoot:
      return "shoot area";
    case MemoryArea::Status:
      return "status record";
    case MemoryArea::KeyLedTable:
      return "key LED table";
  }
  return "?";
}

MemoryLayout LayoutFor(FirmwareKind kind) {
  MemoryLayout l;
  l.profiles = 5;
  switch (kind) {
    case FirmwareKind::Mouse:
      l.params = 5 * kMouseParamStride;
      l.keyTablePages = 5;
      l.keySlotArea = kKeyTablePageSize;
      l.keyLedTable = kMaxKeySlots;
      l.colorGroups = 1;
      l.lightFrame = kKeyTablePageSize;
      l.macro = 16 * kMacroUnit;
      l.shoot = 4096;
      break;
    case FirmwareKind::Keyboard:
      // Five 33-byte records after the profile number, rounded up.
      l.params = 256;
      l.keyTablePages = 5;
      l.keySlotArea = kKeyTablePageSize;
      l.keyLedTable = kMaxKeySlots;
      l.colorGroups = 8;
      l.lightFrame = kKeyTablePageSize;
      l.macro = 64 * kMacroUnit;
      l.shoot = 0;
      break;
    case FirmwareKind::MousePad:
    case FirmwareKind::Headset:
      // Records are written at p x 64; five of them.
      l.params = 5 * kPadParamWriteStride;
      l.keyTablePages = 0;
      l.keySlotArea = 0;
      l.keyLedTable = 0;
      l.colorGroups = 1;
      l.lightFrame = kKeyTablePageSize;
      l.macro = 0;
      l.shoot = 0;
      break;
  }
  return l;
}

size_t ParamReadOffset(FirmwareKind kind, int profile) {
  const size_t p = profile < 0 ? 0 : static_cast<size_t>(profile);
  return kind == FirmwareKind::Mouse ? p * kMouseParamStride : p * kParamReadStride;
}

size_t ParamWriteOffset(FirmwareKind kind, int profile) {
  const size_t p = profile < 0 ? 0 : static_cast<size_t>(profile);
  switch (kind) {
    case FirmwareKind::Mouse:
      return p * kMouseParamStride;
    case FirmwareKind::Keyboard:
      return p * kParamReadStride;
    case FirmwareKind::MousePad:
    case FirmwareKind::Headset:
      return p * kPadParamWriteStride;
  }
  return 0;
}

size_t ParamRecordSize(FirmwareKind kind) {
  return kind == FirmwareKind::Mouse ? kMouseParamRecordSize : kParamReadSize;
}

FirmwareMemory FirmwareMemory::Blank(FirmwareKind kind) {
  FirmwareMemory m;
  m.kind = kind;
  m.layout = LayoutFor(kind);
  m.deviceInfo.assign(kDeviceInfoSize, 0);
  m.params.assign(m.layout.params, 0);
  m.defaultKeyTable.assign(m.layout.keySlotArea, 0);
  m.keyTable.assign(m.layout.keyTablePages * kKeyTablePageSize, 0);
  m.keyTable2.assign(m.layout.keyTablePages * kKeyTablePageSize, 0);
  m.colorTables.assign(m.layout.colorGroups * kColorGroupStride, 0);
  m.lightFrame.assign(m.layout.lightFrame, 0);
  m.macro.assign(m.layout.macro, 0);
  m.shoot.assign(m.layout.shoot, 0);
  m.status.assign(kStatusRecordSize, 0);
  m.keyLedTable.assign(m.layout.keyLedTable, 0);
  return m;
}

std::vector<uint8_t>& FirmwareMemory::Area(MemoryArea area) {
  return const_cast<std::vector<uint8_t>&>(std::as_const(*this).Area(area));
}

const std::vector<uint8_t>& FirmwareMemory::Area(MemoryArea area) const {
  switch (area) {
    case MemoryArea::DeviceInfo:
      return deviceInfo;
    case MemoryArea::Params:
      return params;
    case MemoryArea::DefaultKeyTable:
      return defaultKeyTable;
    case MemoryArea::KeyTable:
      return keyTable;
    case MemoryArea::KeyTable2:
      return keyTable2;
    case MemoryArea::ColorTables:
      return colorTables;
    case MemoryArea::LightFrame:
      return lightFrame;
    case MemoryArea::Macro:
      return macro;
    case MemoryArea::Shoot:
      return shoot;
    case MemoryArea::Status:
      return status;
    case MemoryArea::KeyLedTable:
      return keyLedTable;
  }
  return deviceInfo;
}

std::span<uint8_t> FirmwareMemory::ParamRecord(int profile) {
  const size_t offset = ParamReadOffset(kind, profile);
  const size_t size = ParamRecordSize(kind);
  if (profile < 0 || offset + size > params.size()) return {};
  return std::span<uint8_t>(params).subspan(offset, size);
}

std::span<const uint8_t> FirmwareMemory::ParamRecord(int profile) const {
  const size_t offset = ParamReadOffset(kind, profile);
  const size_t size = ParamRecordSize(kind);
  if (profile < 0 || offset + size > params.size()) return {};
  return std::span<const uint8_t>(params).subspan(offset, size);
}

}  // namespace vorlin
