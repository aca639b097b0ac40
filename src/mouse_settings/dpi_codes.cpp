#include "mouse_settings/dpi_codes.h"

#include <algorithm>
#include <cctype>

namespace vorlin {
namespace {

int ByteAt(std::span<const uint8_t> info, size_t index) {
  return index < info.size() ? info[index] : 0;
}

int64_t RoundUpToGrain(int64_t dpi) {
  const int64_t rest = dpi % kDpiGrain;
  if (rest == 0) return dpi;
  return rest > 0 ? dpi + (kDpiGrain - rest) : dpi - rest;
}

int ClampCode(int64_t code) {
  return static_cast<int>(std::clamp<int64_t>(code, 0, kDpiCodeMax));
}

}  // namespace

DpiScale DpiScaleFromDeviceInfo(std::span<const uint8_t> info) {
  DpiScale scale;
  scale.sensor = static_cast<uint16_t>(ByteAt(info, 9) | (ByteAt(info, 10) << 8));
  scale.step = ByteAt(info, 11);
  scale.base = ByteAt(info, 14) | (ByteAt(info, 15) << 8);
  return scale;
}

int64_t RawDpiOfCode(const DpiScale& scale, int code) {
  const int64_t c = std::clamp(code, 0, kDpiCodeMax);
  if (!scale.TwoSlope() || c <= kTwoSlopeKneeCode) return c * scale.step + scale.base;
  const int64_t knee = int64_t{kTwoSlopeKneeCode} * scale.step + scale.base;
  return knee + (c - kTwoSlopeKneeCode) * kTwoSlopeHighStep;
}

int ShownDpi(const DpiScale& scale, int code) {
  return static_cast<int>(RoundUpToGrain(RawDpiOfCode(scale, code)));
}

int DpiCodeFromValue(const DpiScale& scale, int dpi) {
  if (!scale.Known() || dpi <= scale.base) return 0;
  const int64_t above_base = int64_t{dpi} - scale.base;
  if (scale.TwoSlope()) {
    const int64_t knee = int64_t{kTwoSlopeKneeCode} * scale.step;
    if (above_base > knee)
      return ClampCode(kTwoSlopeKneeCode + (above_base - knee) / kTwoSlopeHighStep);
  }
  return ClampCode(above_base / scale.step);
}

TypedNumber CheckTypedDpi(std::string_view text) {
  return CheckTypedNumber(text, NumberRule{kDpiMin, kDpiMax, kDpiGrain, false});
}

std::optional<int> DpiCodeFromEditText(const DpiScale& scale, std::string_view text) {
  const TypedNumber typed = CheckTypedDpi(text);
  if (typed.verdict == TypedVerdict::kNotANumber || typed.verdict == TypedVerdict::kOutOfRange)
    return std::nullopt;
  return DpiCodeFromValue(scale, typed.value);
}

}  // namespace vorlin
