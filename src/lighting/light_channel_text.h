#pragma once

// The number typed into one of the lighting panel's colour edits (red, green or blue) as a
// channel value. The edits accept digits only, but they may be left empty or hold a number above
// 255 (the edit lets the user type three digits freely).

#include <cstdint>
#include <optional>

#include <QString>

namespace vorlin {

struct ChannelInput {
  int value = 0;  // 0-255
  // The text the edit should show instead of what was typed, when that was not a channel value
  // as it stands ("255" for a number above 255, "0" for an empty or unreadable text).
  std::optional<QString> corrected_text;
  bool operator==(const ChannelInput&) const = default;
};

ChannelInput ParseColourChannel(const QString& text);

// 0xFF000000 | red << 16 | green << 8 | blue.
constexpr uint32_t OpaqueColour(int red, int green, int blue) {
  return 0xFF000000u | static_cast<uint32_t>(red & 0xFF) << 16 |
         static_cast<uint32_t>(green & 0xFF) << 8 | static_cast<uint32_t>(blue & 0xFF);
}

}  // namespace vorlin
