#pragma once

// What each emulated device holds when it leaves the factory: its device information record,
// parameter records for every profile, factory and current key tables, LED table, status record
// and a first colour group. The values are those of a plausible product of the family; tests
// that need other contents change the memory after building it.
//
// Device information record (34 bytes) as this firmware fills it; the program interprets only
// bytes 5, 6, 9-10, 11 and 14-15:
//   0      device kind code (2 mouse, 1 keyboard, 3 mouse pad, 7 headset)
//   1-2    firmware version, little-endian
//   3      number of profiles
//   4      number of LEDs
//   5      key count (key tables hold key count x 3 bytes)
//   6      macro memory in units of 128 bytes
//   9-10   sensor identifier, little-endian (mouse)
//   11     DPI step (mouse)
//   14-15  DPI base, little-endian (mouse)
//   other  0

#include <array>
#include <cstdint>

#include "sim/firmware_memory.h"

namespace vorlin {

inline constexpr uint16_t kFactoryFirmwareVersion = 0x0108;
inline constexpr uint16_t kMouseSensorId = 0x3325;
inline constexpr uint8_t kMouseDpiStep = 50;
inline constexpr uint16_t kMouseDpiBase = 50;
inline constexpr uint8_t kMouseKeyCount = 15;
inline constexpr uint8_t kKeyboardKeyCount = 132;
inline constexpr uint8_t kMouseLedCount = 11;
inline constexpr uint8_t kHeadsetLedCount = 13;

// The keyboard's factory function code of each of its 126 real keys, in the program's key order
// (type, second byte, third byte). The firmware keeps them in its own slot order (see
// KeyboardSlotOfKey).
extern const std::array<std::array<uint8_t, 3>, 126> kKeyboardFactoryCodes;

// The device slot of key k of the table above: the keyboard's matrix order is not the program's
// key order. A bijection of 0..125; slots 126 to 131 hold empty keys (20 00 00).
int KeyboardSlotOfKey(int key);

// The mouse's factory function code of each of its 15 key slots.
extern const std::array<std::array<uint8_t, 3>, kMouseKeyCount> kMouseFactoryCodes;

FirmwareMemory MakeFactoryMemory(FirmwareKind kind);

}  // namespace vorlin
