#pragma once

#include <cstdint>
#include <span>

#include "lighting_steps/frame.h"
#include "profiles/light_records.h"

namespace vorlin {

// The running state of one key's overlay. Value-initialised counters are the reset state.
struct KeyOverlayCounters {
  uint8_t phase = 0;        // breathing position
  uint8_t color_index = 0;  // wheel place
  uint32_t ticks = 0;       // worker turns counted against the speed threshold
  uint8_t blink_phase = 0;  // 0 off, 1 on
  uint32_t last_blink_ms = 0;
};

// Modes of a per-key light list entry ("LEDREGMode").
enum class OverlayMode : uint8_t {
  kBreathing = 0,
  kSteady = 1,
  kBlinking = 2,
  kSpectrum = 3,
  kDark = 4,
};

// Draws the per-key light list over a frame after a worker turn (stepped or not): entry k (the
// profile's "LightList", index = key index) overrides frame entry k. By the entry's mode:
//   breathing (present entries only) the phase grows by speed + 4 per turn along the breath
//              curve; when it passes 127 it restarts at 0 and the colour index moves one wheel
//              place (held at 191 once past 192); wheel colour with multicolour, else the entry's;
//   steady     the entry's colour;
//   spectrum   (present entries only) one wheel place every speed-threshold turns (0 after 191);
//   blinking   on and off every blink period of the entry's speed, each switch moving the colour
//              index 14 places (0 after 191); wheel colour with multicolour, else the entry's;
//   dark       0;
// all at the brightness level of the entry. Other modes and keys outside the frame (or without
// counters) are left alone. The caller holds its overlay lock while the list is read; `counters`
// runs parallel to `entries`.
void ApplyKeyOverlays(std::span<const LightListEntry> entries,
                      std::span<KeyOverlayCounters> counters, FrameView frame, uint32_t now_ms);

}  // namespace vorlin
