#pragma once

// What the controls of the key-assignment panel show, one member per control. Decoding a code
// fills the controls of its kind; encoding reads the controls of the selected kind back into a
// code. A default-constructed value is the panel's reset state.

#include <optional>
#include <string_view>

namespace vorlin {

// The direction combo and the three edits of a scroll kind.
struct ScrollFields {
  std::optional<int> direction;  // 0 left (horizontal) or up (vertical), 1 right or down
  int count = 0;
  int delay = 0;
  int speed = 0;
  bool operator==(const ScrollFields&) const = default;
};

inline constexpr int kRepeatModeCountItem = 4;  // "repeat a given number of times"

struct KeySetFields {
  std::optional<int> mouse_button_item = 0;  // "keyset_mousekey_combo"
  ScrollFields horizontal_scroll;            // "keyset_mouseswing_*"
  ScrollFields vertical_scroll;              // "keyset_mousewheel_*"
  std::optional<int> dpi_item = 0;           // "keyset_mousedpi_combo"
  int fire_interval = 50;                    // "keyset_mousefire_interval_edit"
  int fire_count = 2;                        // "keyset_mousefire_num_edit"
  // "key_ComBox_check_" + n: 0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Win; no option checked when empty.
  std::optional<int> modifier_option;
  // The text key of the name in "keyset_keyboard_text_edit"; an empty edit when empty.
  std::string_view key_name;
  std::optional<int> media_item = 0;        // "keyset_media_combo"
  std::optional<int> system_item = 0;       // "keyset_system_combo"
  std::optional<int> macro_item = 0;        // "keyset_macro_combo"
  std::optional<int> repeat_mode_item = 0;  // "keyset_macro_over_combo", 0-4
  bool repeat_count_visible = false;        // "keyset_macro_cycle_layout"
  int repeat_count = 1;                     // "keyset_macro_cycle_edit"
  std::optional<int> gun_item = 0;          // "keyset_gunkey_combo"
  std::optional<int> combination_item = 0;  // "keyset_combokey_combo"
  bool operator==(const KeySetFields&) const = default;
};

}  // namespace vorlin
