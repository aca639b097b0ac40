#include "lighting_steps/key_overlays.h"

#include <algorithm>

#include "lighting_steps/step_wrap.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

uint32_t Breathing(const LightListEntry& e, KeyOverlayCounters& c, uint8_t level) {
  const unsigned phase = c.phase + e.speed + 4u;
  if (phase > 127) {
    c.phase = 0;
    const unsigned next = c.color_index + 1u;
    c.color_index = next > kWheelCycle ? kWheelCycle - 1 : static_cast<uint8_t>(next);
  } else {
    c.phase = static_cast<uint8_t>(phase);
  }
  const Rgb color = e.multi_color ? WheelColor(c.color_index) : Rgb{e.red, e.green, e.blue};
  return MakeFrameEntry(color, static_cast<uint8_t>((BreathLevel(c.phase) * level) >> 8));
}

uint32_t Spectrum(const LightListEntry& e, KeyOverlayCounters& c, uint8_t level) {
  if (CountTick(c.ticks, SpeedThreshold(e.speed))) {
    c.color_index = AdvanceWrap(c.color_index, kWheelCycle);
  }
  return MakeFrameEntry(WheelColor(c.color_index), level);
}

uint32_t Blinking(const LightListEntry& e, KeyOverlayCounters& c, uint8_t level, uint32_t now_ms) {
  if (now_ms - c.last_blink_ms >= BlinkPeriodMs(e.speed)) {
    c.blink_phase = c.blink_phase ? 0 : 1;
    c.last_blink_ms = now_ms;
    c.color_index = AdvanceWrap(c.color_index, kWheelCycle, 14);
  }
  if (!c.blink_phase) return 0;
  const Rgb color = e.multi_color ? WheelColor(c.color_index) : Rgb{e.red, e.green, e.blue};
  return MakeFrameEntry(color, level);
}

}  // namespace

void ApplyKeyOverlays(std::span<const LightListEntry> entries,
                      std::span<KeyOverlayCounters> counters, FrameView frame, uint32_t now_ms) {
  const size_t keys = std::min({entries.size(), counters.size(), frame.size()});
  for (size_t k = 0; k < keys; ++k) {
    const LightListEntry& e = entries[k];
    KeyOverlayCounters& c = counters[k];
    const uint8_t level = BrightnessLevel(e.brightness);
    switch (static_cast<OverlayMode>(e.mode)) {
      case OverlayMode::kBreathing:
        if (e.present) frame.Set(k, Breathing(e, c, level));
        break;
      case OverlayMode::kSteady:
        frame.Set(k, MakeFrameEntry(Rgb{e.red, e.green, e.blue}, level));
        break;
      case OverlayMode::kSpectrum:
        if (e.present) frame.Set(k, Spectrum(e, c, level));
        break;
      case OverlayMode::kBlinking:
        frame.Set(k, Blinking(e, c, level, now_ms));
        break;
      case OverlayMode::kDark:
        frame.Set(k, 0);
        break;
      default:
        break;
    }
  }
}

}  // namespace vorlin
