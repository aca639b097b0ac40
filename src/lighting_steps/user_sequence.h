#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "lighting_steps/frame.h"
#include "profiles/light_records.h"

namespace vorlin {

// Where a user sequence stands. A fresh (value-initialised) state starts the sequence at its
// first step; the owner resets it whenever it loads another sequence.
struct UserSequenceState {
  size_t current = 0;           // the step playing
  bool change_noted = false;    // false until the first call notes the start time
  uint32_t last_change_ms = 0;  // when the current step began
  uint32_t ticks = 0;           // calls counted against the step's speed threshold
  uint8_t position = 0;
  uint8_t breath_count = 0;  // breaths of a multicolour breathing step: 0, 1, 2, 0, ...
  uint8_t blink_phase = 0;
  uint8_t blink_color_position = 0;
  uint32_t last_blink_ms = 0;
};

// Modes of a sequence step ("LEDREGMode").
enum class SequenceMode : uint8_t {
  kBreathing = 0,
  kSteady = 1,
  kBlinking = 2,
  kWave = 4,
  kSpectrum = 5,
};

// Plays one call of a user sequence (the steps of a ".light" effect file, as the profile data
// reads them: mode, brightness index, speed index, direction, multicolour, colour and "Time";
// reading the file is the caller's, under its sequence lock) into the frame.
//
// An empty sequence is dark. Otherwise the current step is drawn by its mode, each mode counting
// calls against the standard threshold of the step's speed (spectrum: 8, 5, 3, 1, 0):
//   breathing  position + 1 per threshold (0 at 128) along the breath curve; multicolour shows
//              red, green and blue of the wheel (places 0, 64, 128) in turn, one per breath;
//   steady     the step's colour;
//   blinking   position + 1 per call (0 at 128); on and off every blink period of the device's
//              own speed index, each switch taking wheel place position + 14 for multicolour;
//   wave       position + 1 per threshold (0 at 192); key j shows wheel[(start + 12 j) mod 192],
//              or the step's colour shaped by wave[(start + 12 (j + 1)) mod 96], where start runs
//              up with the position for direction 0 and down otherwise;
//   spectrum   position + 1 per spectrum threshold (0 at 192), wheel[position];
//   others     the frame is left as it is.
// Every colour is shown at the brightness level of the step. Once more than the step's "Time"
// milliseconds have passed since it began, the next step begins (after the last, the first).
//
// Call it once per worker turn of its effect (see StepPeriodMs); now_ms is any monotonic
// millisecond clock.
void PlayUserSequence(UserSequenceState& state, std::span<const LightEffectStep> steps,
                      FrameView frame, uint8_t device_speed, uint32_t now_ms);

}  // namespace vorlin
