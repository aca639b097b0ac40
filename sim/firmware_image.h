#pragma once

// The part of an emulated device's memory that a real device keeps while unplugged (its settings,
// key tables, colour tables, macros and recoil patterns) as one block of bytes, so that demo mode
// can keep it in a file between runs. The factory areas (device information, default key table,
// key lighting table), the lighting frame and the status record are not part of it.
//
// Layout: "VRLNFW1" and a zero byte, the firmware kind, then the kept areas in a fixed order, each
// exactly as large as the kind's memory layout says. A block of any other size, or with another
// header or kind, is not an image of this device.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/firmware_memory.h"

namespace vorlin {

std::vector<uint8_t> FirmwareImage(const FirmwareMemory& memory);

// Copies the kept areas of `image` into `memory`. False, with `memory` untouched, when `image` is
// not an image of a device of memory's kind and layout.
bool RestoreFirmwareImage(std::span<const uint8_t> image, FirmwareMemory& memory);

}  // namespace vorlin
