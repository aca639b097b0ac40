#include "sim/firmware_image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vorlin {

namespace {

constexpr std::array<uint8_t, 8> kHeader = {'V', 'R', 'L', 'N', 'F', 'W', '1', 0};
constexpr std::array<MemoryArea, 6> kKeptAreas = {MemoryArea::Params,    MemoryArea::KeyTable,
                                                  MemoryArea::KeyTable2, MemoryArea::ColorTables,
                                                  MemoryArea::Macro,     MemoryArea::Shoot};

size_t ImageSize(const FirmwareMemory& memory) {
  size_t size = kHeader.size() + 1;
  for (MemoryArea area : kKeptAreas) size += memory.Area(area).size();
  return size;
}

}  // namespace

std::vector<uint8_t> FirmwareImage(const FirmwareMemory& memory) {
  std::vector<uint8_t> image(kHeader.begin(), kHeader.end());
  image.reserve(ImageSize(memory));
  image.push_back(static_cast<uint8_t>(memory.kind));
  for (MemoryArea area : kKeptAreas) {
    const std::vector<uint8_t>& bytes = memory.Area(area);
    image.insert(image.end(), bytes.begin(), bytes.end());
  }
  return image;
}

bool RestoreFirmwareImage(std::span<const uint8_t> image, FirmwareMemory& memory) {
  if (image.size() != ImageSize(memory)) return false;
  if (!std::equal(kHeader.begin(), kHeader.end(), image.begin())) return false;
  if (image[kHeader.size()] != static_cast<uint8_t>(memory.kind)) return false;
  size_t offset = kHeader.size() + 1;
  for (MemoryArea area : kKeptAreas) {
    std::vector<uint8_t>& bytes = memory.Area(area);
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), bytes.size(), bytes.begin());
    offset += bytes.size();
  }
  return true;
}

}  // namespace vorlin
