#pragma once

#include <cstdint>

#include <QColor>

namespace vorlin {

// The colour word handed to a key button: red in bits 0-7, blue in bits 8-15 and green in bits
// 16-23. A lighting frame entry carries red, green, blue and level in bytes 0-3, so packing swaps
// the middle bytes; white is the same in either order.
constexpr uint32_t PackLightColour(uint8_t red, uint8_t green, uint8_t blue) {
  return uint32_t{red} | (uint32_t{blue} << 8) | (uint32_t{green} << 16);
}

// Colour word of a frame entry (byte 0 red, 1 green, 2 blue, 3 level).
constexpr uint32_t LightColourFromFrameEntry(uint32_t entry) {
  return PackLightColour(static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                         static_cast<uint8_t>(entry >> 16));
}

// Level byte of a frame entry.
constexpr int LightLevelFromFrameEntry(uint32_t entry) {
  return static_cast<int>(entry >> 24);
}

constexpr uint8_t LightRed(uint32_t word) {
  return static_cast<uint8_t>(word);
}
constexpr uint8_t LightBlue(uint32_t word) {
  return static_cast<uint8_t>(word >> 8);
}
constexpr uint8_t LightGreen(uint32_t word) {
  return static_cast<uint8_t>(word >> 16);
}

inline QColor LightColourToQColor(uint32_t word) {
  return QColor(LightRed(word), LightGreen(word), LightBlue(word));
}

}  // namespace vorlin
