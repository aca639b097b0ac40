#pragma once

#include <cstdint>

#include "lighting_steps/device_layout.h"
#include "lighting_steps/effect_state.h"
#include "lighting_steps/frame.h"
#include "lighting_steps/tables.h"

namespace vorlin {

// The step a lighting worker runs for an effect code.
enum class EffectStepKind : uint8_t {
  kWave,
  kSpectrum,
  kBreath,
  kSteady,
  kBlink,
  kRipple,
  kReactive,  // the mouse's click effect; the mouse runs it itself
  kBreathFour,
  kBlinkFour,
  kSweep,
  kDark,
  kUserSequence,  // the selected custom effect (user_sequence.h)
};

struct EffectDispatch {
  EffectStepKind step = EffectStepKind::kUserSequence;
  ThresholdTable thresholds = ThresholdTable::kStandard;
};

// Which step runs for an effect code (the code the device derives from the light words' effect
// number), and against which speed thresholds it counts:
//
//   code   mouse                           mouse pad, headset
//   0      wave                            wave
//   1      spectrum                        spectrum
//   2      breath                          breath
//   3      steady                          steady
//   4      blink                           blink
//   5      ripple (16, 12, 8, 4, 2)        user sequence
//   6      reactive                        sweep
//   7      breath in four colours          ripple
//   8      blink in four colours           dark
//   10     dark                            user sequence
//   other  user sequence, every tick       user sequence
EffectDispatch DispatchEffect(LightingDevice device, uint8_t effect_code);

// The worker's clock: one tick is 2 ms (the worker's 1 ms wait plus 1 ms sleep, or two steps of
// the millisecond clock).
inline constexpr uint32_t kLightingTickMs = 2;

// How many ticks pass between two steps of an effect at a speed index: its threshold, and at
// least 1 (a threshold of 0 steps on every tick).
uint32_t TicksPerStep(LightingDevice device, uint8_t effect_code, uint8_t speed_index);

// How long a worker sleeps between two steps of an effect, so that it never has to spin:
//   - the blink effects: the blink period (1600, 1200, 800, 400, 200 ms for speed 0-4, and 200 ms
//     for faster speeds); each call then finds its period over and switches;
//   - every other step: TicksPerStep * 2 ms, e.g. 16, 12, 8, 4, 2 ms for speed 0-4, 2 ms above;
//     the mouse's ripple 32, 24, 16, 8, 4 ms, and 2 ms above.
// The per-key overlays (key_overlays.h) and the user sequences (user_sequence.h) count worker
// turns themselves, so a mouse pad or headset with per-key overlays, or any device playing a
// user sequence, turns every kLightingTickMs and counts TicksPerStep turns between steps.
uint32_t StepPeriodMs(LightingDevice device, uint8_t effect_code, uint8_t speed_index);

// Runs one of the device-independent or layout steps. Returns false, without touching anything,
// for the steps that the caller runs itself (kReactive, kUserSequence).
bool RunEffectStep(EffectStepKind step, const DeviceLightingLayout& layout, EffectState& state,
                   FrameView frame, const EffectParams& params, uint32_t now_ms);

}  // namespace vorlin
