#pragma once

#include <array>
#include <cstdint>

#include "lighting_steps/frame.h"

namespace vorlin {

// The fixed tables of software lighting. Every lookup takes any byte: an index past the end of a
// table is clamped as documented on the function, so no light word read from a document can make
// a step read outside a table.

// Colour wheel: 256 entries in six segments of 32 (0 red rising into yellow, 1 yellow to green,
// 2 green to cyan, 3 cyan to blue, 4 blue to magenta, 5 magenta to red). The colours repeat every
// 192 entries, so entries 192-255 equal entries 0-63. The effects address it with positions 0-191.
inline constexpr size_t kWheelSize = 256;
inline constexpr uint8_t kWheelCycle = 192;
extern const std::array<Rgb, kWheelSize> kColorWheel;
inline Rgb WheelColor(uint8_t position) {
  return kColorWheel[position];
}

// The four colours of the four-colour effects. An index above 3 reads entry 0, the value the
// effects' own wrap would give it.
inline constexpr std::array<Rgb, 4> kFourColors{Rgb{0, 255, 180}, Rgb{0, 255, 0},
                                                Rgb{255, 255, 255}, Rgb{255, 0, 0}};
inline Rgb FourColor(uint8_t index) {
  return index < kFourColors.size() ? kFourColors[index] : kFourColors[0];
}

// Breath curve: 128 levels, rising 0 to 255 over positions 0-63 and falling back over 64-127.
inline constexpr uint8_t kBreathLength = 128;
extern const std::array<uint8_t, kBreathLength> kBreathCurve;
// Positions wrap modulo the curve's length.
inline uint8_t BreathLevel(uint8_t position) {
  return kBreathCurve[position % kBreathLength];
}

// Wave curve: 96 levels, breath curve positions 16-111 (22 up to 255 and back down to 22).
inline constexpr uint8_t kWaveLength = 96;
extern const std::array<uint8_t, kWaveLength> kWaveCurve;
inline uint8_t WaveLevel(uint8_t position) {
  return kWaveCurve[position % kWaveLength];
}

// Brightness level of a brightness index 0-4; an index above 4 is taken as 4 (full brightness).
inline constexpr std::array<uint8_t, 5> kBrightnessLevels{0, 80, 135, 195, 255};
inline uint8_t BrightnessLevel(uint8_t brightness_index) {
  return kBrightnessLevels[brightness_index < kBrightnessLevels.size()
                               ? brightness_index
                               : kBrightnessLevels.size() - 1];
}

// Speed thresholds: how many ticks a step waits, by speed index. Indices past the listed ones
// (5-14 in the light words, and any larger byte) are 0: step on every tick.
enum class ThresholdTable : uint8_t {
  kStandard,          // 8, 6, 4, 2, 1: every effect of every device, unless listed below
  kMouseRipple,       // 16, 12, 8, 4, 2: the mouse's ripple effect
  kSequenceSpectrum,  // 8, 5, 3, 1, 0: the spectrum steps of user sequences
  kEveryTick,         // 0 whatever the speed: the mouse's user sequences
};
uint8_t SpeedThreshold(ThresholdTable table, uint8_t speed_index);
inline uint8_t SpeedThreshold(uint8_t speed_index) {
  return SpeedThreshold(ThresholdTable::kStandard, speed_index);
}

// Blink period: the standard threshold × 200 ms (1600, 1200, 800, 400, 200 ms for speed 0-4).
// The faster speeds, whose threshold is 0, keep the fastest listed period of 200 ms instead of 0:
// a period of 0 would flip the light on every step, a flicker at the worker's tick rate.
inline constexpr uint32_t kBlinkUnitMs = 200;
uint32_t BlinkPeriodMs(uint8_t speed_index);

}  // namespace vorlin
