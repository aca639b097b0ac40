#pragma once

// The 3-byte function code a key or button carries in the device's key tables: a function type
// and two parameter bytes whose meaning depends on the type.

#include <array>
#include <cstdint>

namespace vorlin {

// Function types (the first byte of a code).
enum FunctionType : uint8_t {
  kFnNone = 0x00,              // no function
  kFnMouseButton = 0x10,       // second: button bit
  kFnHorizontalScroll = 0x11,  // second: delay << 4 | speed; third: count, bit 7 = right
  kFnVerticalScroll = 0x12,    // second: delay << 4 | speed; third: count up, 256 - count down
  kFnDpi = 0x13,               // second: 1 up, 2 down, 3 cycle
  kFnFire = 0x14,              // second: interval (at least 10); third: count
  kFnReportRate = 0x15,        // second 3: report-rate cycle (factory code only)
  kFnDpiShift = 0x16,          // second/third: the shift parameter, little-endian
  kFnKeyboardKey = 0x20,       // second: modifier bits; third: HID keyboard usage
  kFnShowWindow = 0x23,        // bring the program's window up
  kFnConsumer = 0x30,          // second/third: HID consumer usage, little-endian
  kFnSystem = 0x40,            // second: 1 power, 2 sleep, 4 wake up
  kFnMacro = 0x70,             // second: macro number; third: repeat mode 0 to 3
  kFnMacroCount = 0x71,        // second: macro number; third: repeat count
  kFnGunKey = 0x72,            // second: recoil pattern 0 to 3
  kFnSpecial = 0xA0,           // Fn, game mode, smart key (factory codes only)
  kFnCombination = 0xB0,
  kFnKeyboardMacroKey = 0xD0,  // the keyboard's M1 to M5 keys (factory codes only)
};

// Modifier bits of a keyboard-key code's second byte.
enum ModifierBit : uint8_t {
  kModLeftCtrl = 0x01,
  kModLeftShift = 0x02,
  kModLeftAlt = 0x04,
  kModLeftWin = 0x08,
  kModRightCtrl = 0x10,
  kModRightShift = 0x20,
  kModRightAlt = 0x40,
  kModRightWin = 0x80,
};

struct FunctionCode {
  uint8_t type = 0;
  uint8_t second = 0;
  uint8_t third = 0;

  // The code as the profile documents store it: type << 16 | second << 8 | third.
  constexpr uint32_t Packed() const {
    return static_cast<uint32_t>(type) << 16 | static_cast<uint32_t>(second) << 8 | third;
  }
  static constexpr FunctionCode FromPacked(uint32_t packed) {
    return {static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
            static_cast<uint8_t>(packed)};
  }
  // The three bytes as the key tables carry them.
  constexpr std::array<uint8_t, 3> Bytes() const { return {type, second, third}; }
  static constexpr FunctionCode FromBytes(const std::array<uint8_t, 3>& bytes) {
    return {bytes[0], bytes[1], bytes[2]};
  }
  // The two parameter bytes as one little-endian number (consumer usage, DPI-shift parameter).
  constexpr uint16_t Parameter() const { return static_cast<uint16_t>(second | third << 8); }

  constexpr bool operator==(const FunctionCode&) const = default;
};

}  // namespace vorlin
