#pragma once

#include <cstdint>

#include "lighting_steps/effect_state.h"
#include "lighting_steps/frame.h"

namespace vorlin {

// The base effect steps shared by every device. Each one rewrites the whole frame (every entry the
// same value) from the effect state and the light words, touches each entry once and allocates
// nothing. level(b) below is BrightnessLevel of the light words' brightness index.
//
// How often to call them: see StepPeriodMs (effect_dispatch.h). The blink steps look at the
// clock themselves (now_ms, any monotonic millisecond clock that wraps at 2^32) and change only
// once a blink period has passed, so calling them more often than their period does no harm.

// Breathing: the position runs the 128-place breath curve in the light words' direction; each
// time it comes back to 0 the colour index moves 16 places along the wheel (0 after 192).
// Multicolour shows the wheel at the colour index, otherwise the light words' colour.
void BreathStep(EffectState& state, FrameView frame, const EffectParams& params);

// Breathing through the four-colour table: the colour index counts 0-3, one per breath.
void BreathFourStep(EffectState& state, FrameView frame, const EffectParams& params);

// The light words' colour at level(b).
void SteadyStep(FrameView frame, const EffectParams& params);

// The position runs the first 192 wheel places in the light words' direction, one per step.
void SpectrumStep(EffectState& state, FrameView frame, const EffectParams& params);

// On and off, switching once a blink period (of the speed index) has passed since the last
// switch. Each switch moves the position 16 wheel places (0 at 192).
void BlinkStep(EffectState& state, FrameView frame, const EffectParams& params, uint32_t now_ms);

// Blinking through the four-colour table: each switch moves the position to the next of 0-3.
void BlinkFourStep(EffectState& state, FrameView frame, const EffectParams& params,
                   uint32_t now_ms);

// Every entry 0.
void DarkStep(FrameView frame);

}  // namespace vorlin
