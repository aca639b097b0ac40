#pragma once

// The memory of one emulated device's firmware: every data area the vendor commands address, the
// small amount of session state the firmware keeps between commands, and what it received as
// host-computed lighting. Plain data; CommandResponder reads and changes it, Firmware guards it
// with a lock, and tests inspect it directly.
//
// Every area is a flat byte array addressed by the 16-bit offset of a command. Its size is fixed
// per device kind (MemoryLayout); an access that does not fit the area is refused by the firmware.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "hid/command_report.h"

namespace vorlin {

enum class FirmwareKind : uint8_t { Mouse, Keyboard, MousePad, Headset };

std::string_view FirmwareKindName(FirmwareKind kind);

// The areas that the commands address.
enum class MemoryArea : uint8_t {
  DeviceInfo,       // 0x03 read
  Params,           // 0x05 read, 0x06 write
  DefaultKeyTable,  // 0x07 read (factory table, never written by a command)
  KeyTable,         // 0x08 read, 0x09 write
  KeyTable2,        // 0x27 write
  ColorTables,      // 0x0A read, 0x0B write
  LightFrame,       // 0x12 write
  Macro,            // 0x15 write
  Shoot,            // 0x17 write
  Status,           // 0x1A read
  KeyLedTable,      // 0x1B read
};
inline constexpr size_t kMemoryAreaCount = 11;

std::string_view MemoryAreaName(MemoryArea area);

// Record sizes and strides the program relies on.
inline constexpr size_t kStatusRecordSize = 6;
inline constexpr size_t kKeyTablePageSize = 512;               // key-table page p starts at p x 512
inline constexpr size_t kColorGroupStride = 512;               // colour group g starts at g x 512
inline constexpr size_t kMaxKeySlots = kKeyTablePageSize / 3;  // 170
inline constexpr size_t kMacroUnit = 128;  // device information byte 6 counts these

inline constexpr size_t kMouseParamStride = 128;  // mouse profile p at p x 128
inline constexpr size_t kMouseParamRecordSize = 95;
inline constexpr size_t kParamReadStride = 33;  // keyboard, pad, headset: read 34 bytes at p x 33
inline constexpr size_t kParamReadSize = 34;
inline constexpr size_t kPadParamWriteStride = 64;  // pad, headset: write 21 bytes at p x 64
inline constexpr size_t kPadParamWriteSize = 21;

// Fields of the device information record.
inline constexpr size_t kInfoKeyCount = 5;
inline constexpr size_t kInfoMacroUnits = 6;
inline constexpr size_t kInfoSensorId = 9;  // 16-bit little-endian
inline constexpr size_t kInfoDpiStep = 11;
inline constexpr size_t kInfoDpiBase = 14;  // 16-bit little-endian

// The sizes of the areas of one device kind.
struct MemoryLayout {
  size_t params = 0;
  size_t keyTablePages = 0;  // KeyTable and KeyTable2 are pages x 512 bytes each
  size_t keySlotArea = 0;    // DefaultKeyTable size (512 when the device has keys, else 0)
  size_t keyLedTable = 0;
  size_t colorGroups = 0;  // ColorTables is groups x 512 bytes
  size_t lightFrame = 0;
  size_t macro = 0;
  size_t shoot = 0;
  int profiles = 0;
};

MemoryLayout LayoutFor(FirmwareKind kind);

// Offset of profile p's record in the parameter area, as the program reads it and as it writes it
// (the pad and the headset read 34 bytes at p x 33 but write 21 bytes at p x 64; both are 0 for
// profile 0, the only profile the program uses).
size_t ParamReadOffset(FirmwareKind kind, int profile);
size_t ParamWriteOffset(FirmwareKind kind, int profile);
size_t ParamRecordSize(FirmwareKind kind);  // the bytes read at ParamReadOffset

// What the headset received through its 17-byte lighting output report.
struct HeadsetLighting {
  static constexpr size_t kLedCount = 13;
  static constexpr size_t kReportSize = 17;
  // values[side][colour][led]: side 0 is 0x22, side 1 is 0x44; colour 0 red, 1 green, 2 blue.
  std::array<std::array<std::array<uint8_t, kLedCount>, 3>, 2> values{};
  uint64_t reports = 0;          // well-formed lighting reports taken
  uint64_t rejectedReports = 0;  // lighting reports with an unknown side or plane, or too short
  std::array<uint8_t, kReportSize> lastReport{};
};

struct FirmwareMemory {
  FirmwareKind kind = FirmwareKind::Mouse;
  MemoryLayout layout;

  std::vector<uint8_t> deviceInfo;
  std::vector<uint8_t> params;
  std::vector<uint8_t> defaultKeyTable;
  std::vector<uint8_t> keyTable;
  std::vector<uint8_t> keyTable2;
  std::vector<uint8_t> colorTables;
  std::vector<uint8_t> lightFrame;
  std::vector<uint8_t> macro;
  std::vector<uint8_t> shoot;
  std::vector<uint8_t> status;
  std::vector<uint8_t> keyLedTable;

  // Session state kept between commands.
  bool configuring = false;   // between BeginConfig and EndConfig
  bool hostLighting = false;  // HostLightingOn received
  uint32_t beginConfigCount = 0;
  uint32_t endConfigCount = 0;
  uint32_t hostLightingCount = 0;
  uint64_t lightFrameChunks = 0;  // WriteLightFrame chunks taken
  uint64_t lightFrames = 0;       // WriteLightFrame chunks at offset 0 (a new frame begins)
  uint64_t commandsAnswered = 0;

  HeadsetLighting headsetLighting;

  // A device of the kind with every area zeroed and sized by its layout.
  static FirmwareMemory Blank(FirmwareKind kind);

  std::vector<uint8_t>& Area(MemoryArea area);
  const std::vector<uint8_t>& Area(MemoryArea area) const;

  uint8_t KeyCount() const {
    return deviceInfo.size() > kInfoKeyCount ? deviceInfo[kInfoKeyCount] : 0;
  }
  size_t MacroCapacity() const {
    return deviceInfo.size() > kInfoMacroUnits ? deviceInfo[kInfoMacroUnits] * kMacroUnit : 0;
  }
  uint8_t CurrentProfile() const { return params.empty() ? 0 : params[0]; }
  // The bytes of profile p's record as the program reads them (empty when outside the area).
  std::span<uint8_t> ParamRecord(int profile);
  std::span<const uint8_t> ParamRecord(int profile) const;
};

}  // namespace vorlin
