#include "input/hook_messages.h"

namespace vorlin {

std::string_view HookMessageName(HookMessage message) {
  switch (message) {
    case HookMessage::kKeySingleKey: return "WM_HOOK_KEY_SINGLEKEY_MSG";
    case HookMessage::kKeyHitKey: return "WM_HOOK_KEY_HITKEY_MSG";
    case HookMessage::kKeyKbMacro: return "WM_HOOK_KEY_KBMACRO_MSG";
    case HookMessage::kKeyMsMacro: return "WM_HOOK_KEY_MSMACRO_MSG";
    case HookMessage::kKeyKbMacroSingle: return "WM_HOOK_KEY_KBMACROSINGLE_MSG";
    case HookMessage::kKeyKbMacroPrevious: return "WM_HOOK_KEY_KBMACROPREVIOUS_MSG";
    case HookMessage::kKeyKbMacroLater: return "WM_HOOK_KEY_KBMACROLATER_MSG";
    case HookMessage::kMouSingleKey: return "WM_HOOK_MOU_SINGLEKEY_MSG";
    case HookMessage::kMouHitKey: return "WM_HOOK_MOU_HITKEY_MSG";
    case HookMessage::kMouKbMacro: return "WM_HOOK_MOU_KBMACRO_MSG";
    case HookMessage::kMouMsMacro: return "WM_HOOK_MOU_MSMACRO_MSG";
    case HookMessage::kKeyMsMacroSingle: return "WM_HOOK_KEY_MSMACROSINGLE_MSG";
    case HookMessage::kKeyMsMacroPrevious: return "WM_HOOK_KEY_MSMACROPREVIOUS_MSG";
    case HookMessage::kKeyMsMacroLater: return "WM_HOOK_KEY_MSMACROLATER_MSG";
  }
  return {};
}

std::optional<HookMessage> KeyboardHookMessageOfMode(int mode) {
  switch (mode) {
    case 1: return HookMessage::kKeySingleKey;
    case 2: return HookMessage::kKeyHitKey;
    case 4: return HookMessage::kKeyKbMacro;
    case 8: return HookMessage::kKeyKbMacroPrevious;
    case 16: return HookMessage::kKeyKbMacroLater;
    case 32: return HookMessage::kKeyKbMacroSingle;
    case 256: return HookMessage::kMouSingleKey;
    case 512: return HookMessage::kMouHitKey;
    case 1024: return HookMessage::kMouKbMacro;
    default: return std::nullopt;
  }
}

std::optional<HookMessage> MouseHookMessageOfMode(int mode) {
  switch (mode) {
    case 4: return HookMessage::kKeyMsMacro;
    case 8: return HookMessage::kKeyMsMacroPrevious;
    case 16: return HookMessage::kKeyMsMacroLater;
    case 32: return HookMessage::kKeyMsMacroSingle;
    default: return std::nullopt;
  }
}

}  // namespace vorlin
