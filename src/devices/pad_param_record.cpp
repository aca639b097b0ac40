#include "devices/pad_param_record.h"

#include <algorithm>

namespace vorlin {
namespace {

constexpr uint32_t kAddressSpace = 0x10000;

std::optional<uint16_t> RecordOffset(int profile, uint32_t stride, size_t size) {
  if (profile < 0) return std::nullopt;
  const uint64_t offset = static_cast<uint64_t>(profile) * stride;
  if (offset + size > kAddressSpace) return std::nullopt;
  return static_cast<uint16_t>(offset);
}

bool IsByte(int value) {
  return value >= 0 && value <= 0xFF;
}

}  // namespace

std::optional<uint16_t> PadParamRecord::ReadOffset(int profile) {
  return RecordOffset(profile, kReadStride, kReadSize);
}

std::optional<uint16_t> PadParamRecord::WriteOffset(int profile) {
  return RecordOffset(profile, kWriteStride, kSize);
}

std::optional<uint8_t> PadParamRecord::NumberOfCode(uint8_t code) const {
  // Only the first 256 positions can be kept in a byte.
  const size_t count = std::min<size_t>(codes_.size(), 0x100);
  for (size_t i = 0; i < count; ++i) {
    if (codes_[i] == code) return static_cast<uint8_t>(i);
  }
  return std::nullopt;
}

bool PadParamRecord::TakeRead(std::span<const uint8_t> read, uint8_t profile) {
  if (read.size() < kSize) return false;
  Bytes next;
  std::copy_n(read.begin(), kSize, next.begin());
  next[0] = profile;
  const uint8_t code = read[1];
  const std::optional<uint8_t> number = NumberOfCode(code);
  next[1] = number.value_or(code);
  next[3] = static_cast<uint8_t>(kSpeedBase - read[3]);

  const bool changed = next != kept_ || effect_raw_ != !number.has_value();
  kept_ = next;
  effect_raw_ = !number.has_value();
  pad_code_ = code;
  return changed;
}

uint8_t PadParamRecord::CodeForWrite() const {
  const uint8_t effect = kept_[1];
  if (effect_raw_) return effect;
  if (effect < codes_.size() && IsByte(codes_[effect])) return static_cast<uint8_t>(codes_[effect]);
  return pad_code_.value_or(effect);
}

PadParamRecord::Bytes PadParamRecord::ForWrite() const {
  Bytes out = kept_;
  out[1] = CodeForWrite();
  out[3] = static_cast<uint8_t>(kSpeedBase - kept_[3]);
  return out;
}

void PadParamRecord::ApplyLightSettings(const LightSettings& settings) {
  kept_[1] = settings.mode;
  kept_[2] = settings.brightness;
  kept_[3] = settings.speed;
  kept_[5] = settings.multi_color;
  kept_[6] = settings.red;
  kept_[7] = settings.green;
  kept_[8] = settings.blue;
  effect_raw_ = false;
}

LightWords PadParamRecord::WithLighting(LightWords words) const {
  LightSettings settings = LightSettingsFromWords(words);
  settings.mode = kept_[1];
  settings.brightness = kept_[2];
  settings.speed = kept_[3];
  settings.multi_color = kept_[5];
  settings.red = kept_[6];
  settings.green = kept_[7];
  settings.blue = kept_[8];
  return LightSettingsToWords(settings);
}

}  // namespace vorlin
