#pragma once

// How an event row of the macro panel names its event: the text key of the key or button (the
// key-name table's names for keys and modifiers, the mouse button names, the panel's own keys for
// pointer moves), the style of the state label, and what the state label shows.

#include <string>
#include <string_view>

#include "profiles/macro_events.h"

namespace vorlin {

// The text key naming the event's key, button or move; "macro_other_event_text" for events the
// tables do not name.
std::string MacroEventTextKey(const MacroEvent& event);
// What to show when the language has no text for `key`: a key name without its table prefix
// ("keyboard_key_Page Up" shows "Page Up"), else the key itself.
std::string FallbackKeyText(std::string_view key);

// The state label: the distance of a pointer move, else press or release.
enum class MacroStateStyle { kDown, kUp, kText };
MacroStateStyle StateStyleOf(const MacroEvent& event);
// "macro_label_down_style", "macro_label_up_style" or "macro_label_text_style".
const char* StateStyleName(MacroStateStyle style);
// The text key of the press and release labels.
const char* StateTextKey(MacroStateStyle style);

}  // namespace vorlin
