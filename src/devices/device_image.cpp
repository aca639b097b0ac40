#include "devices/device_image.h"

#include <limits>
#include <string>

#include "profiles/macro_events.h"

namespace vorlin {

namespace {

constexpr uint8_t kPressBit = 0x80;

uint8_t SmallInt(const Json::Value& value) {
  if (value.isUInt()) return static_cast<uint8_t>(value.asUInt());
  if (value.isInt()) return static_cast<uint8_t>(value.asInt());
  return 0;
}

void PutWord(std::vector<uint8_t>& image, size_t at, uint16_t value) {
  image[at] = static_cast<uint8_t>(value);
  image[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

MacroEventCode EncodeMacroEvent(const Json::Value& event) {
  if (!event.isObject()) return {};
  const uint16_t delay = MacroDelayOf(event.get("Delay", Json::Value()));
  uint8_t type = SmallInt(event.get("Type", Json::Value()));
  const Json::Value& action = event.get("Action", Json::Value());
  if (IsDownAction(action)) type |= kPressBit;
  return {static_cast<uint8_t>(delay), static_cast<uint8_t>(delay >> 8), type,
          SmallInt(event.get("Button", Json::Value()))};
}

ImageBlock EncodeMacroEvents(const Json::Value& events) {
  ImageBlock block;
  if (!events.isArray()) return block;
  block.reserve(events.size());
  for (const Json::Value& event : events) block.push_back(EncodeMacroEvent(event));
  return block;
}

size_t DeviceImageSize(std::span<const size_t> event_counts) {
  size_t size = kImageHeaderSize;
  for (const size_t count : event_counts)
    size += 2 + kImageBlockHeaderSize + kImageEventSize * count;
  return size;
}

int ImageOverflow(size_t size, size_t capacity, ImageCapacityRule rule) {
  const bool refused =
      rule == ImageCapacityRule::kRefuseAbove ? size > capacity : size >= capacity;
  if (!refused) return 0;
  const size_t excess = (size - capacity) / kImageEventSize + 1;
  return excess > static_cast<size_t>(std::numeric_limits<int>::max())
             ? std::numeric_limits<int>::max()
             : static_cast<int>(excess);
}

std::optional<std::vector<uint8_t>> BuildDeviceImage(std::span<const ImageBlock> blocks) {
  constexpr size_t kMaxField = 0xFFFF;
  std::vector<size_t> counts;
  counts.reserve(blocks.size());
  for (const ImageBlock& block : blocks) {
    if (block.size() > kMaxField) return std::nullopt;
    counts.push_back(block.size());
  }
  const size_t size = DeviceImageSize(counts);
  if (size > kMaxField || blocks.size() > kMaxField) return std::nullopt;

  std::vector<uint8_t> image(size, 0);
  PutWord(image, 0, kImageMagic);
  PutWord(image, 2, static_cast<uint16_t>(size));
  PutWord(image, 4, static_cast<uint16_t>(blocks.size()));
  size_t at = kImageHeaderSize + 2 * blocks.size();
  for (size_t i = 0; i < blocks.size(); ++i) {
    PutWord(image, kImageHeaderSize + 2 * i, static_cast<uint16_t>(at));
    PutWord(image, at, static_cast<uint16_t>(blocks[i].size()));
    at += kImageBlockHeaderSize;
    for (const MacroEventCode& event : blocks[i]) {
      std::copy(event.begin(), event.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
      at += kImageEventSize;
    }
  }
  return image;
}

}  // namespace vorlin
