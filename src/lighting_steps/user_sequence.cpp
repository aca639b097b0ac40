#include "lighting_steps/user_sequence.h"

#include "lighting_steps/step_wrap.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

constexpr uint8_t kBreathColorSpacing = 64;  // red, green, blue on the wheel

Rgb StepColor(const LightEffectStep& step) {
  return {step.red, step.green, step.blue};
}

void Breathe(UserSequenceState& state, const LightEffectStep& step, FrameView frame) {
  if (CountTick(state.ticks, SpeedThreshold(step.speed))) {
    state.position = AdvanceWrap(state.position, kBreathLength);
    if (state.position == 0) state.breath_count = AdvanceWrap(state.breath_count, 3);
  }
  const Rgb color = step.multi_color
                        ? WheelColor(static_cast<uint8_t>(state.breath_count * kBreathColorSpacing))
                        : StepColor(step);
  const uint8_t level =
      static_cast<uint8_t>((BreathLevel(state.position) * BrightnessLevel(step.brightness)) >> 8);
  frame.Fill(MakeFrameEntry(color, level));
}

void Blink(UserSequenceState& state, const LightEffectStep& step, FrameView frame,
           uint8_t device_speed, uint32_t now_ms) {
  state.position = AdvanceWrap(state.position, kBreathLength);
  if (now_ms - state.last_blink_ms >= BlinkPeriodMs(device_speed)) {
    state.blink_phase = state.blink_phase ? 0 : 1;
    state.last_blink_ms = now_ms;
    state.blink_color_position = static_cast<uint8_t>(state.position + 14);
  }
  if (!state.blink_phase) {
    frame.Fill(0);
    return;
  }
  const Rgb color = step.multi_color ? WheelColor(state.blink_color_position) : StepColor(step);
  frame.Fill(MakeFrameEntry(color, BrightnessLevel(step.brightness)));
}

void Wave(UserSequenceState& state, const LightEffectStep& step, FrameView frame) {
  if (CountTick(state.ticks, SpeedThreshold(step.speed))) {
    state.position = AdvanceWrap(state.position, kWheelCycle);
  }
  // A position left at or above 192 by another mode counts as 0.
  const uint8_t position = state.position < kWheelCycle ? state.position : 0;
  const size_t start = step.direction == 0
                           ? AdvanceWrap(position, kWheelCycle)
                           : (position == 0 ? kWheelCycle - 1u : kWheelCycle - position);
  const uint8_t level = BrightnessLevel(step.brightness);
  for (size_t j = 0; j < frame.size(); ++j) {
    if (step.multi_color) {
      const auto place = static_cast<uint8_t>((start + 12 * j) % kWheelCycle);
      frame.Set(j, MakeFrameEntry(WheelColor(place), level));
    } else {
      const auto place = static_cast<uint8_t>((start + 12 * (j + 1)) % kWaveLength);
      frame.Set(j, MakeFrameEntry(StepColor(step),
                                  static_cast<uint8_t>((level * WaveLevel(place)) >> 8)));
    }
  }
}

void Spectrum(UserSequenceState& state, const LightEffectStep& step, FrameView frame) {
  if (CountTick(state.ticks, SpeedThreshold(ThresholdTable::kSequenceSpectrum, step.speed))) {
    state.position = AdvanceWrap(state.position, kWheelCycle);
  }
  frame.Fill(MakeFrameEntry(WheelColor(state.position), BrightnessLevel(step.brightness)));
}

}  // namespace

void PlayUserSequence(UserSequenceState& state, std::span<const LightEffectStep> steps,
                      FrameView frame, uint8_t device_speed, uint32_t now_ms) {
  if (steps.empty()) {
    frame.Fill(0);
    return;
  }
  // A shorter sequence loaded under a running state starts again from its first step.
  if (state.current >= steps.size()) state.current = 0;
  if (!state.change_noted) {
    state.change_noted = true;
    state.last_change_ms = now_ms;
  }

  const LightEffectStep& step = steps[state.current];
  switch (static_cast<SequenceMode>(step.mode)) {
    case SequenceMode::kBreathing:
      Breathe(state, step, frame);
      break;
    case SequenceMode::kSteady:
      frame.Fill(MakeFrameEntry(StepColor(step), BrightnessLevel(step.brightness)));
      break;
    case SequenceMode::kBlinking:
      Blink(state, step, frame, device_speed, now_ms);
      break;
    case SequenceMode::kWave:
      Wave(state, step, frame);
      break;
    case SequenceMode::kSpectrum:
      Spectrum(state, step, frame);
      break;
    default:
      break;
  }

  // A "Time" of 0 or less lets the step go at the first call in a later millisecond.
  const uint32_t duration = step.time > 0 ? static_cast<uint32_t>(step.time) : 0;
  if (now_ms - state.last_change_ms > duration) {
    state.current = state.current + 1 < steps.size() ? state.current + 1 : 0;
    state.last_change_ms = now_ms;
  }
}

}  // namespace vorlin
