#include "sim/factory_contents.h"

#include <algorithm>

namespace vorlin {

const std::array<std::array<uint8_t, 3>, 126> kKeyboardFactoryCodes = {{
    {0x20, 0x00, 0x29}, {0x20, 0x00, 0x3A}, {0x20, 0x00, 0x3B},
    {0x20, 0x00, 0x3C}, {0x20, 0x00, 0x3D},  // 0
    {0x20, 0x00, 0x3E}, {0x20, 0x00, 0x3F}, {0x20, 0x00, 0x40},
    {0x20, 0x00, 0x41}, {0x20, 0x00, 0x42},  // 5
    {0x20, 0x00, 0x43}, {0x20, 0x00, 0x44}, {0x20, 0x00, 0x45},
    {0x20, 0x00, 0x46}, {0x20, 0x00, 0x47},  // 10
    {0x20, 0x00, 0x48}, {0xA0, 0x1B, 0x00}, {0xA0, 0x24, 0x00},
    {0x20, 0x00, 0x00}, {0x20, 0x00, 0x00},  // 15
    {0x20, 0x00, 0x00}, {0x20, 0x00, 0x35}, {0x20, 0x00, 0x1E},
    {0x20, 0x00, 0x1F}, {0x20, 0x00, 0x20},  // 20
    {0x20, 0x00, 0x21}, {0x20, 0x00, 0x22}, {0x20, 0x00, 0x23},
    {0x20, 0x00, 0x24}, {0x20, 0x00, 0x25},  // 25
    {0x20, 0x00, 0x26}, {0x20, 0x00, 0x27}, {0x20, 0x00, 0x2D},
    {0x20, 0x00, 0x2E}, {0x20, 0x00, 0x2A},  // 30
    {0x20, 0x00, 0x49}, {0x20, 0x00, 0x4A}, {0x20, 0x00, 0x4B},
    {0x20, 0x00, 0x53}, {0x20, 0x00, 0x54},  // 35
    {0x20, 0x00, 0x55}, {0x20, 0x00, 0x56}, {0x20, 0x00, 0x2B},
    {0x20, 0x00, 0x14}, {0x20, 0x00, 0x1A},  // 40
    {0x20, 0x00, 0x08}, {0x20, 0x00, 0x15}, {0x20, 0x00, 0x17},
    {0x20, 0x00, 0x1C}, {0x20, 0x00, 0x18},  // 45
    {0x20, 0x00, 0x0C}, {0x20, 0x00, 0x12}, {0x20, 0x00, 0x13},
    {0x20, 0x00, 0x2F}, {0x20, 0x00, 0x30},  // 50
    {0x20, 0x00, 0x31}, {0x20, 0x00, 0x4C}, {0x20, 0x00, 0x4D},
    {0x20, 0x00, 0x4E}, {0x20, 0x00, 0x5F},  // 55
    {0x20, 0x00, 0x60}, {0x20, 0x00, 0x61}, {0x20, 0x00, 0x32},
    {0x20, 0x00, 0x39}, {0x20, 0x00, 0x04},  // 60
    {0x20, 0x00, 0x16}, {0x20, 0x00, 0x07}, {0x20, 0x00, 0x09},
    {0x20, 0x00, 0x0A}, {0x20, 0x00, 0x0B},  // 65
    {0x20, 0x00, 0x0D}, {0x20, 0x00, 0x0E}, {0x20, 0x00, 0x0F},
    {0x20, 0x00, 0x33}, {0x20, 0x00, 0x34},  // 70
    {0x20, 0x00, 0x28}, {0x20, 0x00, 0x5C}, {0x20, 0x00, 0x5D},
    {0x20, 0x00, 0x5E}, {0x20, 0x00, 0x8A},  // 75
    {0x20, 0x00, 0x8B}, {0x20, 0x00, 0x90}, {0x20, 0x00, 0x91},
    {0x20, 0x00, 0x88}, {0x20, 0x02, 0x00},  // 80
    {0x20, 0x00, 0x1D}, {0x20, 0x00, 0x1B}, {0x20, 0x00, 0x06},
    {0x20, 0x00, 0x19}, {0x20, 0x00, 0x05},  // 85
    {0x20, 0x00, 0x11}, {0x20, 0x00, 0x10}, {0x20, 0x00, 0x36},
    {0x20, 0x00, 0x37}, {0x20, 0x00, 0x38},  // 90
    {0x20, 0x20, 0x00}, {0x20, 0x00, 0x52}, {0x20, 0x00, 0x59},
    {0x20, 0x00, 0x5A}, {0x20, 0x00, 0x5B},  // 95
    {0x20, 0x00, 0x87}, {0x20, 0x00, 0x89}, {0x20, 0x00, 0x64},
    {0x20, 0x00, 0x85}, {0x20, 0x00, 0x00},  // 100
    {0x20, 0x01, 0x00}, {0x20, 0x08, 0x00}, {0x20, 0x04, 0x00},
    {0x20, 0x00, 0x2C}, {0x20, 0x40, 0x00},  // 105
    {0xA0, 0x01, 0x00}, {0x20, 0x00, 0x65}, {0x20, 0x10, 0x00},
    {0x20, 0x00, 0x50}, {0x20, 0x00, 0x51},  // 110
    {0x20, 0x00, 0x4F}, {0x20, 0x00, 0x62}, {0x20, 0x00, 0x63},
    {0x20, 0x00, 0x58}, {0x20, 0x00, 0x57},  // 115
    {0xD0, 0xA2, 0x01}, {0xD0, 0xA2, 0x02}, {0xD0, 0xA2, 0x03},
    {0xD0, 0xA2, 0x04}, {0xD0, 0xA2, 0x05},  // 120
    {0x20, 0x80, 0x00},                      // 125
}};

const std::array<std::array<uint8_t, 3>, kMouseKeyCount> kMouseFactoryCodes = {{
    {0x10, 0x01, 0x00},  // 0 left button
    {0x10, 0x02, 0x00},  // 1 right button
    {0x10, 0x04, 0x00},  // 2 middle button
    {0x10, 0x08, 0x00},  // 3 back
    {0x10, 0x10, 0x00},  // 4 forward
    {0x13, 0x01, 0x00},  // 5 DPI up
    {0x13, 0x02, 0x00},  // 6 DPI down
    {0x13, 0x03, 0x00},  // 7 DPI cycle
    {0x14, 0x78, 0x02},  // 8 fire key
    {0x16, 0x90, 0x01},  // 9 DPI shift (400)
    {0xA0, 0x1B, 0x00},  // 10 game mode
    {0x15, 0x03, 0x00},  // 11 report-rate cycle
    {0xA0, 0x02, 0x00},  // 12 smart key
    {0x23, 0x00, 0x00},  // 13 show the application window
    {0x20, 0x80, 0x00},  // 14 right Windows key
}};

int KeyboardSlotOfKey(int key) {
  // 29 and 126 share no factor, so this walks every slot below 126 exactly once.
  return key < 0 || key >= 126 ? -1 : (key * 29) % 126;
}

namespace {

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void FillInfo(FirmwareMemory& m, uint8_t kindCode, uint8_t leds, uint8_t keys) {
  m.deviceInfo[0] = kindCode;
  Put16(m.deviceInfo, 1, kFactoryFirmwareVersion);
  m.deviceInfo[3] = static_cast<uint8_t>(m.layout.profiles);
  m.deviceInfo[4] = leds;
  m.deviceInfo[kInfoKeyCount] = keys;
  m.deviceInfo[kInfoMacroUnits] = static_cast<uint8_t>(m.layout.macro / kMacroUnit);
}

void PutCode(std::vector<uint8_t>& table, size_t slot, const std::array<uint8_t, 3>& code) {
  std::copy(code.begin(), code.end(), table.begin() + static_cast<std::ptrdiff_t>(slot * 3));
}

// Every key-table page starts as the factory table.
void CopyFactoryKeysToPages(FirmwareMemory& m) {
  for (size_t page = 0; page < m.layout.keyTablePages; ++page) {
    std::copy(m.defaultKeyTable.begin(), m.defaultKeyTable.end(),
              m.keyTable.begin() + static_cast<std::ptrdiff_t>(page * kKeyTablePageSize));
    std::copy(m.defaultKeyTable.begin(), m.defaultKeyTable.end(),
              m.keyTable2.begin() + static_cast<std::ptrdiff_t>(page * kKeyTablePageSize));
  }
}

// The lighting head shared by the records: effect code, brightness, 4 - speed, direction,
// multi-colour flag, red, green, blue (record bytes 1 to 8).
void PutLighting(std::span<uint8_t> record, uint8_t effect, uint8_t red, uint8_t green,
                 uint8_t blue) {
  record[1] = effect;
  record[2] = 4;      // brightness
  record[3] = 4 - 2;  // speed 2
  record[4] = 0;      // direction
  record[5] = 0;      // single colour
  record[6] = red;
  record[7] = green;
  record[8] = blue;
}

void MakeMouse(FirmwareMemory& m) {
  FillInfo(m, 2, kMouseLedCount, kMouseKeyCount);
  Put16(m.deviceInfo, kInfoSensorId, kMouseSensorId);
  m.deviceInfo[kInfoDpiStep] = kMouseDpiStep;
  Put16(m.deviceInfo, kInfoDpiBase, kMouseDpiBase);

  for (size_t slot = 0; slot < kMouseFactoryCodes.size(); ++slot) {
    PutCode(m.defaultKeyTable, slot, kMouseFactoryCodes[slot]);
    m.keyLedTable[slot] = static_cast<uint8_t>(slot);
  }
  CopyFactoryKeysToPages(m);

  // Six DPI stages: 400, 800, 1200, 1600, 2000 and 2400 DPI (code = (dpi - base) / step), each
  // with its indicator colour.
  static constexpr std::array<std::array<uint8_t, 3>, 6> kStageColours = {{
      {0xFF, 0x00, 0x00},
      {0x00, 0xFF, 0x00},
      {0x00, 0x00, 0xFF},
      {0xFF, 0xFF, 0x00},
      {0x00, 0xFF, 0xFF},
      {0xFF, 0x00, 0xFF},
  }};
  for (int p = 0; p < m.layout.profiles; ++p) {
    std::span<uint8_t> r = m.ParamRecord(p);
    r[0] = static_cast<uint8_t>(p);
    PutLighting(r, 1, 0xFF, 0x00, 0x00);
    r[11] = 3;  // polling-rate stage
    r[12] = 1;  // current DPI stage
    r[13] = 1;  // lift-off distance
    for (size_t i = 0; i < 6; ++i) {
      const size_t at = 14 + 9 * i;
      const uint16_t code = static_cast<uint16_t>((400 * (i + 1) - kMouseDpiBase) / kMouseDpiStep);
      r[at] = 1;      // enabled
      r[at + 1] = 0;  // same DPI for X and Y
      r[at + 2] = static_cast<uint8_t>(code & 0xFF);
      r[at + 3] = static_cast<uint8_t>(code >> 8);
      r[at + 4] = static_cast<uint8_t>(code & 0xFF);
      r[at + 5] = static_cast<uint8_t>(code >> 8);
      std::copy(kStageColours[i].begin(), kStageColours[i].end(), r.begin() + at + 6);
    }
  }
  m.params[0] = 0;  // current profile

  m.status = {85, 2, 0, 0, 0, 0};  // 85 %, on battery
}

void MakeKeyboard(FirmwareMemory& m) {
  FillInfo(m, 1, kKeyboardKeyCount, kKeyboardKeyCount);
  static constexpr std::array<uint8_t, 3> kEmptyKey = {0x20, 0x00, 0x00};
  for (size_t slot = 0; slot < kKeyboardKeyCount; ++slot)
    PutCode(m.defaultKeyTable, slot, kEmptyKey);
  for (int key = 0; key < 126; ++key) {
    PutCode(m.defaultKeyTable, static_cast<size_t>(KeyboardSlotOfKey(key)),
            kKeyboardFactoryCodes[static_cast<size_t>(key)]);
  }
  for (size_t slot = 0; slot < kKeyboardKeyCount; ++slot) {
    m.keyLedTable[slot] = static_cast<uint8_t>(slot);  // LEDs are wired in slot order
  }
  CopyFactoryKeysToPages(m);

  // Profile p's 33 bytes follow offset p x 33; the byte at p x 33 is the profile number for p = 0
  // and the last byte of the previous record otherwise.
  for (int p = 0; p < m.layout.profiles; ++p) {
    std::span<uint8_t> r = m.ParamRecord(p);
    PutLighting(r, 1, 0x00, 0xFF, 0xFF);
    r[22] = 3;  // polling rate
  }
  m.params[0] = 0;

  // Colour group 0: every LED white.
  std::fill_n(m.colorTables.begin(), kKeyboardKeyCount * 3, 0xFF);
  m.status = {100, 0, 0, 0, 0, 0};
}

// The pad and the headset: one 21-byte lighting record per profile at p x 64.
void MakeLightingOnly(FirmwareMemory& m, uint8_t kindCode, uint8_t leds, uint8_t red, uint8_t green,
                      uint8_t blue) {
  FillInfo(m, kindCode, leds, 0);
  for (int p = 0; p < m.layout.profiles; ++p) {
    std::span<uint8_t> r =
        std::span<uint8_t>(m.params).subspan(ParamWriteOffset(m.kind, p), kPadParamWriteSize);
    r[0] = static_cast<uint8_t>(p);
    PutLighting(r, 1, red, green, blue);
  }
  m.params[0] = 0;
}

}  // namespace

FirmwareMemory MakeFactoryMemory(FirmwareKind kind) {
  FirmwareMemory m = FirmwareMemory::Blank(kind);
  switch (kind) {
    case FirmwareKind::Mouse:
      MakeMouse(m);
      break;
    case FirmwareKind::Keyboard:
      MakeKeyboard(m);
      break;
    case FirmwareKind::MousePad:
      MakeLightingOnly(m, 3, 0, 0x00, 0x00, 0xFF);
      break;
    case FirmwareKind::Headset:
      MakeLightingOnly(m, 7, kHeadsetLedCount, 0xFF, 0x80, 0x00);
      break;
  }
  return m;
}

}  // namespace vorlin
