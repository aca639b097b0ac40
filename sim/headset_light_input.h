#pragma once

// The headset firmware's side of the 17-byte lighting output report:
//
//   byte 0      report id 0xFF
//   byte 1      side: 0x22 or 0x44
//   byte 2      plane: 0xAA red LEDs 0-6, 0xAD red LEDs 7-12, 0xAB green LEDs 0-6,
//               0xAE green LEDs 7-12, 0xAC blue LEDs 0-6, 0xAF blue LEDs 7-12
//   bytes 4-10  one value per LED (seven for the 0-6 planes, six in bytes 4-9 for the 7-12 planes)
//
// Pure: the report's values are stored into HeadsetLighting.

#include <cstdint>
#include <span>

#include "sim/firmware_memory.h"

namespace vorlin {

inline constexpr uint8_t kHeadsetLightReportId = 0xFF;

// Takes one lighting report. False (and counted as rejected, nothing stored) when the report is
// shorter than its 11 meaningful bytes, or its side or plane is unknown.
bool TakeHeadsetLightReport(HeadsetLighting& lighting, std::span<const uint8_t> report);

}  // namespace vorlin
