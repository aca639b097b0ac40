#include "lighting_steps/sync_lighting.h"

#include <algorithm>
#include <array>

#include "lighting_steps/effect_dispatch.h"
#include "lighting_steps/step_wrap.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

// Rows: sync type; columns: keyboard, mouse, mouse pad, headset.
constexpr std::array<std::array<uint8_t, 4>, kSyncTypeCount> kSyncEffects{{
    {5, 2, 2, 2},
    {6, 3, 3, 3},
    {23, 4, 4, 4},
    {4, 1, 1, 1},
    {28, 10, 8, 8},
}};

}  // namespace

std::optional<SyncDeviceClass> SyncDeviceClassForKind(int kind) {
  switch (kind) {
    case 1:
    case 9:
      return SyncDeviceClass::kKeyboard;
    case 2:
    case 6:
      return SyncDeviceClass::kMouse;
    case 3:
      return SyncDeviceClass::kMousePad;
    case 7:
      return SyncDeviceClass::kHeadset;
    default:
      return std::nullopt;
  }
}

uint8_t EffectNumberForSync(SyncDeviceClass device, SyncType type) {
  const auto row = std::min<size_t>(static_cast<size_t>(type), kSyncTypeCount - 1);
  return kSyncEffects[row][static_cast<size_t>(device)];
}

std::optional<SyncType> SyncTypeForEffect(SyncDeviceClass device, uint8_t effect_number) {
  for (uint8_t type = 0; type < kSyncTypeCount; ++type) {
    if (kSyncEffects[type][static_cast<size_t>(device)] == effect_number) {
      return static_cast<SyncType>(type);
    }
  }
  return std::nullopt;
}

uint32_t SyncStep(SyncCounters& c, const SyncSettings& s, uint32_t now_ms) {
  const uint8_t level = BrightnessLevel(s.brightness);
  switch (s.type) {
    case SyncType::kBreathing: {
      c.position = StepWrap(s.direction != 0, kBreathLength, c.position, 1);
      if (s.multi_color && c.position < 2) {
        c.color_index = StepWrap(true, kWheelCycle, c.color_index, 16);
      }
      const Rgb color = s.multi_color ? WheelColor(c.color_index) : s.color;
      return MakeFrameEntry(color, static_cast<uint8_t>((level * BreathLevel(c.position)) >> 8));
    }
    case SyncType::kSteady:
      return MakeFrameEntry(s.color, level);
    case SyncType::kBlinking:
      if (now_ms - c.last_blink_ms >= BlinkPeriodMs(s.speed)) {
        c.blink_phase = c.blink_phase ? 0 : 1;
        c.last_blink_ms = now_ms;
        c.blink_color_position = AdvanceWrap(c.blink_color_position, kWheelCycle, 14);
      }
      if (!c.blink_phase) return 0;
      return MakeFrameEntry(s.multi_color ? WheelColor(c.blink_color_position) : s.color, level);
    case SyncType::kSpectrum:
      c.position = StepWrap(true, kWheelCycle, c.position, 1);
      return MakeFrameEntry(WheelColor(c.position), level);
    case SyncType::kDark:
      return 0;
  }
  return 0;
}

uint32_t SyncStepPeriodMs(const SyncSettings& s) {
  if (s.type == SyncType::kBlinking) return BlinkPeriodMs(s.speed);
  return std::max<uint32_t>(SpeedThreshold(s.speed), 1) * kLightingTickMs;
}

}  // namespace vorlin
