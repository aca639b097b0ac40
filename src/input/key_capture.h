#pragma once

// Capturing a key for the keyboard-key kind of the key-assignment panel: every key event (press
// and release alike) that reaches the panel while its key edit has the focus.

#include <optional>
#include <string_view>

#include "input/function_code.h"
#include "input/keyboard_key_table.h"

namespace vorlin {

struct CapturedKey {
  int row = 0;                         // the keyboard key table row of the key
  std::optional<int> modifier_option;  // the modifier option checked from now on
  std::string_view key_name;           // the key edit's new text key; empty for a modifier key
  FunctionCode code;                   // the panel's new stored current code
};

// The panel's new state after the key `scan`, given the modifier option checked before (none
// when no option is checked). A key outside the keyboard key table changes nothing (none).
// The panel then saves, which encodes the keyboard-key kind: a modifier key alone is stored as the
// left modifier's bit without a key.
std::optional<CapturedKey> CaptureKey(ScanCode scan, std::optional<int> checked_option);

}  // namespace vorlin
