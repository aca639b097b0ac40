#pragma once

// DPI codes of the mouse. The mouse stores each DPI stage as a code; what the page shows and the
// user types is a DPI value. The device information record gives the scale: the DPI step per
// code (byte 11), the DPI of code 0 (bytes 14-15, little-endian) and the sensor (bytes 9-10,
// little-endian).
//
// Most sensors are linear: DPI = code x step + base. The sensor 0x3325 has two slopes: the step
// per code up to code 48, then 200 DPI per code. One mapping serves the display, the slider and
// the edit alike:
//   shown DPI of a code:  the code's DPI rounded up to the next multiple of 50
//   code of a DPI value:  the largest code whose DPI is not above the value (0 below the base)
// so a shown value read back gives a code that shows the same value again, and with a step of 50
// or more every code survives the trip (code -> shown DPI -> code) unchanged.
//
// A step of 0 means the scale is unknown (the mouse has not been read yet): a value then maps to
// code 0 (no division by zero), and the page does not turn values into codes at all.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/typed_number.h"

namespace vorlin {

inline constexpr uint16_t kTwoSlopeSensor = 0x3325;
inline constexpr int kTwoSlopeKneeCode = 48;
inline constexpr int kTwoSlopeHighStep = 200;

// What the DPI controls accept and how finely.
inline constexpr int kDpiMin = 100;
inline constexpr int kDpiMax = 26000;
inline constexpr int kDpiGrain = 50;
// Codes are 16-bit on the mouse.
inline constexpr int kDpiCodeMax = 0xFFFF;

struct DpiScale {
  int step = 0;         // DPI per code (byte 11)
  int base = 0;         // DPI of code 0 (bytes 14-15)
  uint16_t sensor = 0;  // sensor identifier (bytes 9-10)

  bool Known() const { return step > 0; }
  bool TwoSlope() const { return sensor == kTwoSlopeSensor; }
  bool operator==(const DpiScale&) const = default;
};

// The scale of a device information record; bytes the record lacks read as 0.
DpiScale DpiScaleFromDeviceInfo(std::span<const uint8_t> info);

// The DPI of `code` before rounding.
int64_t RawDpiOfCode(const DpiScale& scale, int code);
// What the page shows for `code`: its DPI rounded up to a multiple of 50.
int ShownDpi(const DpiScale& scale, int code);
// The code of a DPI value (a slider position, a typed value): the largest code whose DPI is not
// above `dpi`, within 0..kDpiCodeMax; 0 when the scale is unknown or `dpi` is below the base.
int DpiCodeFromValue(const DpiScale& scale, int dpi);

// What a DPI typed into a stage's edit comes to: a whole number within kDpiMin..kDpiMax, rounded
// to the nearest multiple of kDpiGrain; anything else (no number, out of range) is refused, so
// that a slip of the keyboard never sends a DPI the user did not ask for.
TypedNumber CheckTypedDpi(std::string_view text);
// The code of a DPI typed into a stage's edit; none when the text is refused.
std::optional<int> DpiCodeFromEditText(const DpiScale& scale, std::string_view text);

}  // namespace vorlin
