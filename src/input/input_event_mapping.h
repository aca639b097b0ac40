#pragma once

// Turning key and button events into the (message, data) pairs of the input capture. Shared by
// every input source, so that a key looks the same whichever way it was read.

#include <cstdint>
#include <optional>

#include "input/input_source.h"
#include "input/keyboard_key_table.h"

namespace vorlin {

// The event of a key of the keyboard key table going down or up: its scan code and extended
// flag, the row's virtual-key code. Keys outside the table give none.
std::optional<InputEvent> KeyEventOfScanCode(ScanCode scan, bool down, uint32_t time_ms);

// A Linux key event (value 1 press, 2 auto-repeat, 0 release). Auto-repeat is reported as a
// further press, as the desktop's own key messages do; keys outside the table give none.
std::optional<InputEvent> KeyEventOfEvdev(uint16_t code, int32_t value, uint32_t time_ms);

// A Linux mouse button event (BTN_LEFT ... BTN_TASK); other codes and auto-repeat give none.
std::optional<InputEvent> MouseButtonEventOfEvdev(uint16_t code, int32_t value, uint32_t time_ms);

// A wheel turn of `delta` (kWheelDelta per notch, positive away from the user or to the right).
InputEvent MouseWheelEvent(bool horizontal, int32_t delta, uint32_t time_ms);

// Whether a Linux key code is Caps Lock, Num Lock or Scroll Lock.
bool IsLockKeyCode(uint16_t code);

// Whether a Linux EV_KEY code is a mouse button rather than a key.
bool IsMouseButtonCode(uint16_t code);

}  // namespace vorlin
