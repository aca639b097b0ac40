#include "devices/mouse_param_record.h"

#include <algorithm>

namespace vorlin {

namespace {

constexpr size_t kEffect = 1, kBrightness = 2, kSpeed = 3, kDirection = 4, kMultiColor = 5,
                 kRed = 6, kGreen = 7, kBlue = 8, kCleared = 9, kReportStage = 11,
                 kDpiStage = 12, kSilentAltitude = 13, kMotionSync = 92,
                 kLinearCalibration = 93, kRippleControl = 94;

}  // namespace

std::optional<uint16_t> MouseParamRecord::Offset(int profile) {
  if (profile < 0) return std::nullopt;
  const long offset = static_cast<long>(profile) * kProfileStride;
  if (offset + static_cast<long>(kSize) > 0x10000) return std::nullopt;
  return static_cast<uint16_t>(offset);
}

bool MouseParamRecord::TakeRead(std::span<const uint8_t> read, uint8_t profile) {
  if (read.size() < kSize) return false;
  std::copy_n(read.begin(), kSize, kept_.begin());
  kept_[0] = profile;
  kept_[kCleared] = 0;
  return true;
}

uint8_t MouseParamRecord::EffectNumber() const {
  const uint8_t code = kept_[kEffect];
  const auto found = std::find(codes_.begin(), codes_.end(), static_cast<int>(code));
  return found == codes_.end() ? code : static_cast<uint8_t>(found - codes_.begin());
}

uint8_t MouseParamRecord::CodeForWrite(uint8_t effect_number) const {
  const uint8_t number = effect_number >= kFirstUnknownEffect ? 0 : effect_number;
  if (number < codes_.size() && codes_[number] >= 0 && codes_[number] <= 0xFF)
    return static_cast<uint8_t>(codes_[number]);
  return kept_[kEffect];
}

MouseParamRecord::Bytes MouseParamRecord::ForWrite(uint8_t value,
                                                   const MouseRecordSettings& settings) const {
  Bytes bytes = kept_;
  const LightSettings& light = settings.light;
  bytes[0] = value;
  bytes[kEffect] = CodeForWrite(light.mode);
  bytes[kBrightness] = light.brightness;
  bytes[kSpeed] = static_cast<uint8_t>(kSpeedBase - light.speed);
  bytes[kDirection] = light.direction;
  bytes[kMultiColor] = light.multi_color;
  bytes[kRed] = light.red;
  bytes[kGreen] = light.green;
  bytes[kBlue] = light.blue;
  bytes[kCleared] = 0;
  const MouseSystemSettings& system = settings.system;
  bytes[kReportStage] = static_cast<uint8_t>(system.report_stage);
  bytes[kDpiStage] = static_cast<uint8_t>(settings.current_dpi_stage);
  bytes[kSilentAltitude] = static_cast<uint8_t>(system.silent_altitude);
  const size_t stages = std::min(settings.dpi_stages.size(), kStageCount);
  for (size_t i = 0; i < stages; ++i) {
    const auto stage = EncodeDpiStage(settings.dpi_stages[i]);
    std::copy(stage.begin(), stage.end(), bytes.begin() + kStageOffset + kDpiStageBytes * i);
  }
  bytes[kMotionSync] = static_cast<uint8_t>(system.motion_sync);
  bytes[kLinearCalibration] = static_cast<uint8_t>(system.linear_calibration);
  bytes[kRippleControl] = static_cast<uint8_t>(system.ripple_control);
  return bytes;
}

MouseLightState MouseParamRecord::LightState() const {
  return {kept_[0],
          EffectNumber(),
          kept_[kBrightness],
          static_cast<uint8_t>(kSpeedBase - kept_[kSpeed]),
          kept_[kMultiColor],
          kept_[kRed],
          kept_[kGreen],
          kept_[kBlue]};
}

MouseSystemSettings MouseParamRecord::WithSystemSettings(MouseSystemSettings settings) const {
  settings.report_stage = kept_[kReportStage];
  settings.silent_altitude = kept_[kSilentAltitude];
  settings.motion_sync = kept_[kMotionSync];
  settings.linear_calibration = kept_[kLinearCalibration];
  settings.ripple_control = kept_[kRippleControl];
  return settings;
}

std::vector<DpiStage> MouseParamRecord::DpiStages() const {
  std::vector<DpiStage> stages;
  stages.reserve(kStageCount);
  for (size_t i = 0; i < kStageCount; ++i) {
    std::array<uint8_t, kDpiStageBytes> bytes{};
    std::copy_n(kept_.begin() + kStageOffset + kDpiStageBytes * i, kDpiStageBytes, bytes.begin());
    stages.push_back(DecodeDpiStage(bytes));
  }
  return stages;
}

LightSettings WithMouseLightState(LightSettings settings, const MouseLightState& state) {
  settings.mode = state.effect;
  settings.brightness = state.brightness;
  settings.speed = state.speed;
  settings.multi_color = state.multi_color;
  settings.red = state.red;
  settings.green = state.green;
  settings.blue = state.blue;
  return settings;
}

MouseLightState WithLightSettings(MouseLightState state, const LightSettings& settings) {
  state.effect = settings.mode;
  state.brightness = settings.brightness;
  state.speed = settings.speed;
  state.multi_color = settings.multi_color;
  state.red = settings.red;
  state.green = settings.green;
  state.blue = settings.blue;
  return state;
}

}  // namespace vorlin
