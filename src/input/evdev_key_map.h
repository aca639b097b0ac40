#pragma once

// Linux input key codes (linux/input-event-codes.h, KEY_*) of the keyboard key table's rows, so
// that keys read from evdev devices can be turned into the scan-code pairs and rows that key
// capture and macro recording work with.

#include <cstdint>
#include <optional>

#include "input/keyboard_key_table.h"

namespace vorlin {

// The Linux key code of keyboard key row `row` (0-112).
std::optional<uint16_t> EvdevCodeOfKeyRow(int row);

// The keyboard key row of a Linux key code; none for keys outside the table (media keys, for
// instance).
std::optional<int> KeyRowOfEvdevCode(uint16_t evdev_code);

// The scan code and extended flag of a Linux key code, as the keyboard key table records them.
std::optional<ScanCode> ScanCodeOfEvdevCode(uint16_t evdev_code);

}  // namespace vorlin
