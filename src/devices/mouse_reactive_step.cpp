#include "devices/mouse_reactive_step.h"

#include <algorithm>

#include "lighting_steps/tables.h"

namespace vorlin {

void TriggerReactive(ReactiveLights& lights, EffectCells& cells, size_t light_count,
                     const std::function<uint8_t()>& random_position) {
  const size_t count = std::min(light_count, ReactiveLights::kLights);
  for (size_t i = 0; i < count; ++i) {
    lights.trigger[i] = ReactiveLights::kRising;
    cells.SetKey(i, 255);
    lights.position[i] =
        random_position ? static_cast<uint8_t>(random_position() % kReactivePositions) : 0;
  }
}

void ReactiveStep(ReactiveLights& lights, EffectCells& cells, FrameView frame,
                  const EffectParams& params) {
  const size_t count = std::min(frame.size(), ReactiveLights::kLights);
  const uint8_t brightness = BrightnessLevel(params.brightness);
  for (size_t i = 0; i < count; ++i) {
    uint8_t cell = cells.Key(i);
    if (lights.trigger[i] == ReactiveLights::kRising) {
      if (cell != 255) cell = cell >= 240 ? 255 : static_cast<uint8_t>(cell + kReactiveFade);
      if (cell == 255) lights.trigger[i] = ReactiveLights::kFalling;
    } else if (lights.trigger[i] == ReactiveLights::kFalling) {
      if (cell > 0) cell = cell <= kReactiveFade ? 0 : static_cast<uint8_t>(cell - kReactiveFade);
    }
    cells.SetKey(i, cell);
    const Rgb color = params.multi_color ? WheelColor(lights.position[i]) : params.color;
    const auto level = static_cast<uint8_t>((unsigned{brightness} * cell) >> 8);
    frame.Set(i, MakeFrameEntry(color, level));
  }
}

}  // namespace vorlin
