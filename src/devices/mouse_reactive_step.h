#pragma once

// The mouse preview's reactive effect (effect 6): a click lights every light at full level, which
// then fades by 15 per step to dark. Each light has a trigger state (0 idle, 1 rising, 2 falling),
// its key cell (the level factor, 0-255) and a colour position on the colour wheel chosen at the
// click. Pure: the lighting worker owns the state and runs the step.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "lighting_steps/effect_state.h"
#include "lighting_steps/frame.h"

namespace vorlin {

struct ReactiveLights {
  static constexpr size_t kLights = EffectCells::kKeyCells;
  static constexpr uint8_t kIdle = 0, kRising = 1, kFalling = 2;
  std::array<uint8_t, kLights> trigger{};
  std::array<uint8_t, kLights> position{};
  void Clear() {
    trigger.fill(kIdle);
    position.fill(0);
  }
};

inline constexpr uint8_t kReactiveFade = 15;
// Colour positions a click picks from: 0 to 191 (the wheel's cycle).
inline constexpr uint8_t kReactivePositions = 192;

// A click: every light below `light_count` rises from full level (key cell 255) with a colour
// position from `random_position` (0 to 191).
void TriggerReactive(ReactiveLights& lights, EffectCells& cells, size_t light_count,
                     const std::function<uint8_t()>& random_position);

// One step: a rising light at full level turns to falling, a falling one drops by 15 to 0; every
// light of the frame shows its colour (the wheel at its position when the multicolour flag is
// set, else the colour of the light words) at brightness level x key cell >> 8.
void ReactiveStep(ReactiveLights& lights, EffectCells& cells, FrameView frame,
                  const EffectParams& params);

}  // namespace vorlin
