#pragma once

// The messages of the input capture: which message an input event is reported as in each hook
// mode, the keyboard and mouse message codes carried with it, and the main window's private
// message that starts and stops key capture.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlin {

// The hook messages, each known by its registered name (HookMessageName).
enum class HookMessage {
  kKeySingleKey,         // "WM_HOOK_KEY_SINGLEKEY_MSG"
  kKeyHitKey,            // "WM_HOOK_KEY_HITKEY_MSG"
  kKeyKbMacro,           // "WM_HOOK_KEY_KBMACRO_MSG"
  kKeyMsMacro,           // "WM_HOOK_KEY_MSMACRO_MSG"
  kKeyKbMacroSingle,     // "WM_HOOK_KEY_KBMACROSINGLE_MSG"
  kKeyKbMacroPrevious,   // "WM_HOOK_KEY_KBMACROPREVIOUS_MSG"
  kKeyKbMacroLater,      // "WM_HOOK_KEY_KBMACROLATER_MSG"
  kMouSingleKey,         // "WM_HOOK_MOU_SINGLEKEY_MSG"
  kMouHitKey,            // "WM_HOOK_MOU_HITKEY_MSG"
  kMouKbMacro,           // "WM_HOOK_MOU_KBMACRO_MSG"
  kMouMsMacro,           // "WM_HOOK_MOU_MSMACRO_MSG"
  kKeyMsMacroSingle,     // "WM_HOOK_KEY_MSMACROSINGLE_MSG"
  kKeyMsMacroPrevious,   // "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"
  kKeyMsMacroLater,      // "WM_HOOK_KEY_MSMACROLATER_MSG"
};

std::string_view HookMessageName(HookMessage message);

// Hook modes, as the panels pass them.
inline constexpr int kHookModeKeyCapture = 1;
inline constexpr int kHookModeRecordAppend = 4;
inline constexpr int kHookModeRecordBefore = 8;
inline constexpr int kHookModeRecordAfter = 16;
inline constexpr int kHookModeRecordReplace = 32;

// The message a keyboard event is reported as in `mode`; none for a mode that reports nothing.
std::optional<HookMessage> KeyboardHookMessageOfMode(int mode);
// The message a mouse event is reported as in `mode` (recording modes only).
std::optional<HookMessage> MouseHookMessageOfMode(int mode);

// Keyboard message codes (the first value of a keyboard event).
inline constexpr uint32_t kWmKeyDown = 0x100;
inline constexpr uint32_t kWmKeyUp = 0x101;
inline constexpr uint32_t kWmSysKeyDown = 0x104;
inline constexpr uint32_t kWmSysKeyUp = 0x105;

// Mouse message codes (the first value of a mouse event).
inline constexpr uint32_t kWmMouseMove = 0x200;
inline constexpr uint32_t kWmLButtonDown = 0x201;
inline constexpr uint32_t kWmLButtonUp = 0x202;
inline constexpr uint32_t kWmRButtonDown = 0x204;
inline constexpr uint32_t kWmRButtonUp = 0x205;
inline constexpr uint32_t kWmMButtonDown = 0x207;
inline constexpr uint32_t kWmMButtonUp = 0x208;
inline constexpr uint32_t kWmMouseWheel = 0x20A;
inline constexpr uint32_t kWmXButtonDown = 0x20B;
inline constexpr uint32_t kWmXButtonUp = 0x20C;
inline constexpr uint32_t kWmMouseHWheel = 0x20E;

// X button numbers, carried in the high 16 bits of the mouse data word.
inline constexpr uint16_t kXButtonBack = 1;
inline constexpr uint16_t kXButtonForward = 2;
// One wheel notch, in the high 16 bits of the mouse data word of a wheel message.
inline constexpr int kWheelDelta = 120;

// Keyboard data flags: bit 0 extended key, bit 7 key released.
inline constexpr uint32_t kKeyFlagExtended = 0x01;
inline constexpr uint32_t kKeyFlagUp = 0x80;

// The lock keys, by virtual-key code. They reach the desktop even while keys are captured.
inline constexpr uint32_t kVkCapsLock = 0x14;
inline constexpr uint32_t kVkNumLock = 0x90;
inline constexpr uint32_t kVkScrollLock = 0x91;
constexpr bool IsLockVirtualKey(uint32_t vk) {
  return vk == kVkCapsLock || vk == kVkNumLock || vk == kVkScrollLock;
}

// The main window's private message: first value 1 starts key capture (mode 1, keyboard and
// mouse, caller value 0), 0 stops it. The key edit of the key assignment panel sends it when it
// gains and loses the focus.
inline constexpr uint32_t kHookControlMessage = 0x41E;

}  // namespace vorlin
