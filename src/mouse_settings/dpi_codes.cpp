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

int DpiFromEditText(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int64_t value = 0;
  if (text.empty()) {
    value = 0;
  } else if (std::all_of(text.begin(), text.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
    // Saturates: a long run of digits is a large number, not garbage.
    for (char c : text) value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 40);
    if (negative) value = -value;
  }
  return static_cast<int>(RoundUpToGrain(std::clamp<int64_t>(value, kDpiMin, kDpiMax)));
}

int DpiCodeFromEditText(const DpiScale& scale, std::string_view text) {
  return DpiCodeFromValue(scale, DpiFromEditText(text));
}

}  // namespace vorlin
