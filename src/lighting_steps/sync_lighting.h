#pragma once

#include <cstdint>
#include <optional>

#include "lighting_steps/frame.h"

namespace vorlin {

// The common effects of the synchronised mode, in which one thread lights every device alike.
enum class SyncType : uint8_t {
  kBreathing = 0,
  kSteady = 1,
  kBlinking = 2,
  kSpectrum = 3,
  kDark = 4,
};
inline constexpr uint8_t kSyncTypeCount = 5;

// The device families of the mapping table; the receiver kinds share their device's row.
enum class SyncDeviceClass : uint8_t { kKeyboard, kMouse, kMousePad, kHeadset };

// Device kind code -> family: 1 and 9 keyboard, 2 and 6 mouse, 3 mouse pad, 7 headset.
std::optional<SyncDeviceClass> SyncDeviceClassForKind(int kind);

// The effect number each family uses for each common effect:
//
//   sync type      keyboard  mouse  mouse pad  headset
//   0 breathing    5         2      2          2
//   1 steady       6         3      3          3
//   2 blinking     23        4      4          4
//   3 spectrum     4         1      1          1
//   4 dark         28        10     8          8
uint8_t EffectNumberForSync(SyncDeviceClass device, SyncType type);

// The sync type of a device's effect number, or nothing when the effect has no common form
// (then synchronising changes nothing).
std::optional<SyncType> SyncTypeForEffect(SyncDeviceClass device, uint8_t effect_number);

// What the synchronised mode shows, taken from the selected device's light words.
struct SyncSettings {
  SyncType type = SyncType::kBreathing;
  uint8_t brightness = 0;
  uint8_t speed = 0;
  uint8_t direction = 0;
  bool multi_color = false;
  Rgb color;
};

// The running state of the synchronised effect.
struct SyncCounters {
  uint8_t position = 0;
  uint8_t color_index = 0;
  uint8_t blink_phase = 0;
  uint8_t blink_color_position = 0;
  uint32_t last_blink_ms = 0;
};

// One step of the synchronised effect; returns the entry that every key of every synchronised
// device gets:
//   breathing  position along the breath curve in the direction; with multicolour the colour
//              index moves 16 wheel places (0 at 192) while the position is below 2;
//   steady     the colour;
//   blinking   on and off every blink period, each switch moving 14 wheel places (0 at 192);
//   spectrum   one wheel place forward per step, whatever the direction;
//   dark       0.
uint32_t SyncStep(SyncCounters& counters, const SyncSettings& settings, uint32_t now_ms);

// How long the sync thread sleeps between two SyncSteps: the standard threshold of the
// synchronised speed in 2 ms ticks (16, 12, 8, 4, 2 ms for speed 0-4, 2 ms above), and for
// blinking the blink period.
uint32_t SyncStepPeriodMs(const SyncSettings& settings);

}  // namespace vorlin
