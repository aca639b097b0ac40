#include "macro/macro_event_text.h"

#include "input/key_name_table.h"

namespace vorlin {
namespace {

constexpr std::string_view kKeyPrefix = "keyboard_key_";

}  // namespace

std::string MacroEventTextKey(const MacroEvent& event) {
  switch (event.type) {
    case kMacroKey:
      for (int row = kModifierRowCount; row < kFirstMediaKeyRow; ++row) {
        const KeyNameRow& key = kKeyNameTable[static_cast<size_t>(row)];
        if (key.code.type == kFnKeyboardKey && key.code.second == 0 &&
            key.code.third == event.button)
          return std::string(key.name);
      }
      break;
    case kMacroModifier:
      for (int row = 0; row < kModifierRowCount; ++row) {
        const KeyNameRow& key = kKeyNameTable[static_cast<size_t>(row)];
        if (key.code.second == event.button) return std::string(key.name);
      }
      break;
    case kMacroMouseButton:
      switch (event.button) {
        case kMacroLeft:
          return "mouse_key_left";
        case kMacroRight:
          return "mouse_key_right";
        case kMacroMiddle:
          return "mouse_key_middle";
        case kMacroBack:
          return "mouse_key_back";
        case kMacroForward:
          return "mouse_key_forward";
        default:
          break;
      }
      break;
    case kMacroMoveX:
      return event.down ? "macro_move_left_text" : "macro_move_right_text";
    case kMacroMoveY:
      return event.down ? "macro_move_up_text" : "macro_move_down_text";
    default:
      break;
  }
  return "macro_other_event_text";
}

std::string FallbackKeyText(std::string_view key) {
  if (key.size() > kKeyPrefix.size() && key.substr(0, kKeyPrefix.size()) == kKeyPrefix)
    key.remove_prefix(kKeyPrefix.size());
  return std::string(key);
}

MacroStateStyle StateStyleOf(const MacroEvent& event) {
  if (event.type == kMacroMoveX || event.type == kMacroMoveY) return MacroStateStyle::kText;
  return event.down ? MacroStateStyle::kDown : MacroStateStyle::kUp;
}

const char* StateStyleName(MacroStateStyle style) {
  switch (style) {
    case MacroStateStyle::kDown:
      return "macro_label_down_style";
    case MacroStateStyle::kUp:
      return "macro_label_up_style";
    case MacroStateStyle::kText:
      break;
  }
  return "macro_label_text_style";
}

const char* StateTextKey(MacroStateStyle style) {
  return style == MacroStateStyle::kUp ? "macro_state_up_text" : "macro_state_down_text";
}

}  // namespace vorlin
