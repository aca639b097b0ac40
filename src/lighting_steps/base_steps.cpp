#include "lighting_steps/base_steps.h"

#include "lighting_steps/step_wrap.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

// The breath curve's position; true when it has come back round to 0.
bool AdvanceBreath(EffectState& state, const EffectParams& params) {
  state.position = StepWrap(params.direction != 0, kBreathLength, state.position, 1);
  return state.position == 0;
}

uint8_t BreathFrameLevel(const EffectState& state, const EffectParams& params) {
  return static_cast<uint8_t>((BreathLevel(state.position) * BrightnessLevel(params.brightness)) >>
                              8);
}

// Flips the blink phase once a blink period has passed; true when it did.
bool BlinkDue(EffectState& state, const EffectParams& params, uint32_t now_ms) {
  if (now_ms - state.last_blink_ms < BlinkPeriodMs(params.speed)) return false;
  state.blink_phase = state.blink_phase ? 0 : 1;
  state.last_blink_ms = now_ms;
  return true;
}

void ShowBlink(const EffectState& state, FrameView frame, Rgb color, const EffectParams& params) {
  frame.Fill(state.blink_phase ? MakeFrameEntry(color, BrightnessLevel(params.brightness)) : 0);
}

}  // namespace

void BreathStep(EffectState& state, FrameView frame, const EffectParams& params) {
  if (AdvanceBreath(state, params)) {
    const unsigned next = state.color_index + 16u;
    state.color_index = next > kWheelCycle ? 0 : static_cast<uint8_t>(next);
  }
  const Rgb color = params.multi_color ? WheelColor(state.color_index) : params.color;
  frame.Fill(MakeFrameEntry(color, BreathFrameLevel(state, params)));
}

void BreathFourStep(EffectState& state, FrameView frame, const EffectParams& params) {
  if (AdvanceBreath(state, params)) {
    const unsigned next = state.color_index + 1u;
    state.color_index = next > 3 ? 0 : static_cast<uint8_t>(next);
  }
  frame.Fill(MakeFrameEntry(FourColor(state.color_index), BreathFrameLevel(state, params)));
}

void SteadyStep(FrameView frame, const EffectParams& params) {
  frame.Fill(MakeFrameEntry(params.color, BrightnessLevel(params.brightness)));
}

void SpectrumStep(EffectState& state, FrameView frame, const EffectParams& params) {
  state.position = StepWrap(params.direction != 0, kWheelCycle, state.position, 1);
  frame.Fill(MakeFrameEntry(WheelColor(state.position), BrightnessLevel(params.brightness)));
}

void BlinkStep(EffectState& state, FrameView frame, const EffectParams& params, uint32_t now_ms) {
  if (BlinkDue(state, params, now_ms))
    state.position = AdvanceWrap(state.position, kWheelCycle, 16);
  ShowBlink(state, frame, params.multi_color ? WheelColor(state.position) : params.color, params);
}

void BlinkFourStep(EffectState& state, FrameView frame, const EffectParams& params,
                   uint32_t now_ms) {
  if (BlinkDue(state, params, now_ms)) state.position = AdvanceWrap(state.position, 4);
  ShowBlink(state, frame, FourColor(state.position), params);
}

void DarkStep(FrameView frame) {
  frame.Fill(0);
}

}  // namespace vorlin
