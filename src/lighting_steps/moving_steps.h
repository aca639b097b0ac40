#pragma once

#include "lighting_steps/device_layout.h"
#include "lighting_steps/effect_state.h"
#include "lighting_steps/frame.h"

namespace vorlin {

// The moving effects of the mouse, mouse pad and headset. The device's layout (device_layout.h)
// says which LEDs share a colour and how the wave is spaced. LEDs that the layout names but the
// frame does not have are skipped; an empty frame is left alone.

// A wave along the LED groups. Multicolour: the wheel, one place per call in the light words'
// direction, group i offset by start + stride * i. One colour: the light words' colour with its
// level shaped by the wave curve, wave_step places per call.
void WaveStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
              const EffectParams& params);

// Light pushed along the first eight column cells (every second call, starting with the first:
// fill key cells 0-8 from the column cells, then rotate the eight cells, right when the direction
// is 0), and decaying in key cells 0-6, one per ripple group. With multicolour each group takes
// the next wheel colour, 12 places on, unless the leading key cell (key cell 0 going forward,
// the layout's backward lead otherwise) still glows, in which case the group keeps the colour its
// first LED already shows. Group i is shown at level(b) * key cell i >> 8.
void RippleStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
                const EffectParams& params);

// As RippleStep, but the whole row of 23 column cells rotates (right when the direction is
// non-zero) and every LED group of the wave (every LED, or the mouse's columns) decays and shows
// its own key cell.
void SweepStep(const DeviceLightingLayout& layout, EffectState& state, FrameView frame,
               const EffectParams& params);

}  // namespace vorlin
