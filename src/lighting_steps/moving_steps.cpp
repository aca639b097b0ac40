#include "lighting_steps/moving_steps.h"

#include "lighting_steps/effect_cells.h"
#include "lighting_steps/step_wrap.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

void SetGroup(FrameView frame, const LedGroup& group, uint32_t entry) {
  for (uint8_t j = 0; j < group.count; ++j) frame.Set(group.leds[j], entry);
}

size_t LeadingCell(const DeviceLightingLayout& layout, const EffectParams& params, size_t entries,
                   size_t groups) {
  if (params.direction != 0) return 0;
  return layout.backward_lead == BackwardLead::kLastEntry ? entries - 1 : groups - 1;
}

// Shared body of the ripple and sweep: `groups` groups from `group_at`, row moved by `move_row`.
template <typename GroupAt, typename MoveRow>
void RunRipple(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
               const EffectParams& params, size_t groups, GroupAt group_at, MoveRow move_row) {
  if (frame.empty() || groups == 0) return;
  state.position = StepWrap(params.direction != 0, kWheelCycle, state.position, 1);
  state.row_turn ^= 1;
  if (state.row_turn) {
    FillEffectRow(state.cells);
    move_row(state.cells);
  }
  const uint8_t level = BrightnessLevel(params.brightness);
  const size_t lead = LeadingCell(layout, params, frame.size(), groups);
  for (size_t i = 0; i < groups; ++i) {
    const LedGroup group = group_at(i);
    const uint8_t cell = FadeEffectCell(state.cells, i, params.effect);
    Rgb color = params.color;
    if (params.multi_color) {
      if (state.cells.Key(lead) != 0) {
        color = FrameEntryColor(frame.Get(group.leds[0]));
      } else {
        state.position = static_cast<uint8_t>((state.position + 12u) % kWheelCycle);
        color = WheelColor(state.position);
      }
    }
    SetGroup(frame, group, MakeFrameEntry(color, static_cast<uint8_t>((level * cell) >> 8)));
  }
}

}  // namespace

void WaveStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
              const EffectParams& params) {
  const size_t groups = GroupCount(layout, frame.size());
  const bool forward = params.direction != 0;
  const uint8_t level = BrightnessLevel(params.brightness);
  if (params.multi_color) {
    state.position = StepWrap(forward, kWheelCycle, state.position, 1);
    for (size_t i = 0; i < groups; ++i) {
      const size_t place =
          (state.position + layout.wave_start + layout.wave_stride * i) % kWheelCycle;
      SetGroup(frame, GroupAt(layout, i),
               MakeFrameEntry(WheelColor(static_cast<uint8_t>(place)), level));
    }
    return;
  }
  state.position = StepWrap(forward, kWaveLength, state.position, layout.wave_step);
  for (size_t i = 0; i < groups; ++i) {
    const size_t place =
        (state.position + layout.wave_single_start + layout.wave_single_stride * i) % kWaveLength;
    const uint8_t shaped =
        static_cast<uint8_t>((level * WaveLevel(static_cast<uint8_t>(place))) >> 8);
    SetGroup(frame, GroupAt(layout, i), MakeFrameEntry(params.color, shaped));
  }
}

void RippleStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
                const EffectParams& params) {
  const bool right = params.direction == 0;
  RunRipple(
      layout, state, frame, params, layout.ripple_groups.size(),
      [&](size_t i) { return layout.ripple_groups[i]; },
      [right](EffectCells& cells) { RotateEffectRow(cells, right, 8); });
}

void SweepStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
               const EffectParams& params) {
  const bool right = params.direction != 0;
  RunRipple(
      layout, state, frame, params, GroupCount(layout, frame.size()),
      [&](size_t i) { return GroupAt(layout, i); },
      [right](EffectCells& cells) { RotateEffectRow(cells, right); });
}

}  // namespace vorlin
