#include "lighting_steps/effect_dispatch.h"

#include <algorithm>

#include "lighting_steps/base_steps.h"
#include "lighting_steps/moving_steps.h"

namespace vorlin {

EffectDispatch DispatchEffect(LightingDevice device, uint8_t effect_code) {
  using K = EffectStepKind;
  const ThresholdTable standard = ThresholdTable::kStandard;
  switch (effect_code) {
    case 0:
      return {K::kWave, standard};
    case 1:
      return {K::kSpectrum, standard};
    case 2:
      return {K::kBreath, standard};
    case 3:
      return {K::kSteady, standard};
    case 4:
      return {K::kBlink, standard};
    default:
      break;
  }
  if (device == LightingDevice::kMouse) {
    switch (effect_code) {
      case 5:
        return {K::kRipple, ThresholdTable::kMouseRipple};
      case 6:
        return {K::kReactive, standard};
      case 7:
        return {K::kBreathFour, standard};
      case 8:
        return {K::kBlinkFour, standard};
      case 10:
        return {K::kDark, standard};
      default:
        return {K::kUserSequence, ThresholdTable::kEveryTick};
    }
  }
  switch (effect_code) {
    case 6:
      return {K::kSweep, standard};
    case 7:
      return {K::kRipple, standard};
    case 8:
      return {K::kDark, standard};
    default:
      return {K::kUserSequence, standard};
  }
}

uint32_t TicksPerStep(LightingDevice device, uint8_t effect_code, uint8_t speed_index) {
  const EffectDispatch dispatch = DispatchEffect(device, effect_code);
  return std::max<uint32_t>(SpeedThreshold(dispatch.thresholds, speed_index), 1);
}

uint32_t StepPeriodMs(LightingDevice device, uint8_t effect_code, uint8_t speed_index) {
  const EffectStepKind step = DispatchEffect(device, effect_code).step;
  if (step == EffectStepKind::kBlink || step == EffectStepKind::kBlinkFour) {
    return BlinkPeriodMs(speed_index);
  }
  return TicksPerStep(device, effect_code, speed_index) * kLightingTickMs;
}

bool RunEffectStep(EffectStepKind step, const DeviceLightingLayout& layout, EffectState& state,
                   FrameView frame, const EffectParams& params, uint32_t now_ms) {
  switch (step) {
    case EffectStepKind::kWave:
      WaveStep(layout, state, frame, params);
      return true;
    case EffectStepKind::kSpectrum:
      SpectrumStep(state, frame, params);
      return true;
    case EffectStepKind::kBreath:
      BreathStep(state, frame, params);
      return true;
    case EffectStepKind::kSteady:
      SteadyStep(frame, params);
      return true;
    case EffectStepKind::kBlink:
      BlinkStep(state, frame, params, now_ms);
      return true;
    case EffectStepKind::kRipple:
      RippleStep(layout, state, frame, params);
      return true;
    case EffectStepKind::kBreathFour:
      BreathFourStep(state, frame, params);
      return true;
    case EffectStepKind::kBlinkFour:
      BlinkFourStep(state, frame, params, now_ms);
      return true;
    case EffectStepKind::kSweep:
      SweepStep(layout, state, frame, params);
      return true;
    case EffectStepKind::kDark:
      DarkStep(frame);
      return true;
    case EffectStepKind::kReactive:
    case EffectStepKind::kUserSequence:
      return false;
  }
  return false;
}

}  // namespace vorlin
