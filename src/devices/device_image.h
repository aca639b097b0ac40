#pragma once

// The memory images the mouse and the keyboard take in one write: the macro area (`MacroImage`,
// the macros the keys call) and the mouse's shoot area (`ShootImage`, its four recoil patterns).
// Both have the same layout, little-endian:
//
//   offset 0      2      0x55AA (bytes AA 55)
//   offset 2      2      total size of the image in bytes
//   offset 4      2      number of blocks n
//   offset 6      10     reserved, 0
//   offset 16     2 x n  offset of each block from the start of the image, in block order
//   16 + 2n       ...    the blocks, one after the other
//
// A block is a 4-byte header (event count as 16 bits, 2 reserved bytes) followed by its events,
// 4 bytes each (`MacroEventCode`). Total size = 16 + 6n + 4 x (sum of event counts).
//
// Pure: no device access and no files. The device objects gather the events and write the image.

#include <json/value.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorlin {

// One event in its device form: delay low byte, delay high byte, type with bit 7 set for a
// press, button.
using MacroEventCode = std::array<uint8_t, 4>;
using ImageBlock = std::vector<MacroEventCode>;

inline constexpr uint16_t kImageMagic = 0x55AA;
inline constexpr size_t kImageHeaderSize = 16;
inline constexpr size_t kImageBlockHeaderSize = 4;
inline constexpr size_t kImageEventSize = 4;

// A macro or gun event object ("Action", "Button", "Type", "Delay") in its device form. The
// delay is the decimal "Delay" (a JSON number is taken too) cut to 16 bits; anything that is not
// a number counts as 0.
MacroEventCode EncodeMacroEvent(const Json::Value& event);
// Every element of an "Events" array, in order; anything but an array gives no events.
ImageBlock EncodeMacroEvents(const Json::Value& events);

// 16 + 6n + 4 x (sum of event counts) for blocks of these event counts.
size_t DeviceImageSize(std::span<const size_t> event_counts);

// How a device compares an image with its memory: the mouse refuses only an image larger than its
// capacity; the keyboard also one of exactly its capacity.
enum class ImageCapacityRule { kRefuseAbove, kRefuseAtOrAbove };

// 0 when an image of `size` bytes fits `capacity` under `rule`; else how much it is too large as
// the macro panel reports it: ((size - capacity) / 4) + 1 (integer division; 1 for an image of
// exactly the capacity under kRefuseAtOrAbove).
int ImageOverflow(size_t size, size_t capacity, ImageCapacityRule rule);

// The image of these blocks, in order. nullopt when it cannot be described by its 16-bit fields
// (a total size, offset or event count above 65535).
std::optional<std::vector<uint8_t>> BuildDeviceImage(std::span<const ImageBlock> blocks);

}  // namespace vorlin
