#include "input_qt/window_key_map.h"

#include <linux/input-event-codes.h>

#include <unordered_map>

#include <QKeyEvent>

namespace vorlin {
namespace {

// X11 key symbols of the right-hand modifiers.
constexpr uint32_t kXkShiftR = 0xFFE2, kXkControlR = 0xFFE4, kXkAltR = 0xFFEA,
                   kXkSuperR = 0xFFEC, kXkIsoLevel3Shift = 0xFE03;

const std::unordered_map<int, uint16_t>& MainKeys() {
  static const std::unordered_map<int, uint16_t> keys = {
      {Qt::Key_A, KEY_A}, {Qt::Key_B, KEY_B}, {Qt::Key_C, KEY_C}, {Qt::Key_D, KEY_D},
      {Qt::Key_E, KEY_E}, {Qt::Key_F, KEY_F}, {Qt::Key_G, KEY_G}, {Qt::Key_H, KEY_H},
      {Qt::Key_I, KEY_I}, {Qt::Key_J, KEY_J}, {Qt::Key_K, KEY_K}, {Qt::Key_L, KEY_L},
      {Qt::Key_M, KEY_M}, {Qt::Key_N, KEY_N}, {Qt::Key_O, KEY_O}, {Qt::Key_P, KEY_P},
      {Qt::Key_Q, KEY_Q}, {Qt::Key_R, KEY_R}, {Qt::Key_S, KEY_S}, {Qt::Key_T, KEY_T},
      {Qt::Key_U, KEY_U}, {Qt::Key_V, KEY_V}, {Qt::Key_W, KEY_W}, {Qt::Key_X, KEY_X},
      {Qt::Key_Y, KEY_Y}, {Qt::Key_Z, KEY_Z},
      {Qt::Key_1, KEY_1}, {Qt::Key_2, KEY_2}, {Qt::Key_3, KEY_3}, {Qt::Key_4, KEY_4},
      {Qt::Key_5, KEY_5}, {Qt::Key_6, KEY_6}, {Qt::Key_7, KEY_7}, {Qt::Key_8, KEY_8},
      {Qt::Key_9, KEY_9}, {Qt::Key_0, KEY_0},
      {Qt::Key_Return, KEY_ENTER}, {Qt::Key_Enter, KEY_ENTER}, {Qt::Key_Escape, KEY_ESC},
      {Qt::Key_Backspace, KEY_BACKSPACE}, {Qt::Key_Tab, KEY_TAB}, {Qt::Key_Backtab, KEY_TAB},
      {Qt::Key_Space, KEY_SPACE}, {Qt::Key_Minus, KEY_MINUS}, {Qt::Key_Equal, KEY_EQUAL},
      {Qt::Key_BracketLeft, KEY_LEFTBRACE}, {Qt::Key_BracketRight, KEY_RIGHTBRACE},
      {Qt::Key_Backslash, KEY_BACKSLASH}, {Qt::Key_Semicolon, KEY_SEMICOLON},
      {Qt::Key_Apostrophe, KEY_APOSTROPHE}, {Qt::Key_QuoteLeft, KEY_GRAVE},
      {Qt::Key_Comma, KEY_COMMA}, {Qt::Key_Period, KEY_DOT}, {Qt::Key_Slash, KEY_SLASH},
      {Qt::Key_CapsLock, KEY_CAPSLOCK}, {Qt::Key_NumLock, KEY_NUMLOCK},
      {Qt::Key_ScrollLock, KEY_SCROLLLOCK},
      {Qt::Key_F1, KEY_F1}, {Qt::Key_F2, KEY_F2}, {Qt::Key_F3, KEY_F3}, {Qt::Key_F4, KEY_F4},
      {Qt::Key_F5, KEY_F5}, {Qt::Key_F6, KEY_F6}, {Qt::Key_F7, KEY_F7}, {Qt::Key_F8, KEY_F8},
      {Qt::Key_F9, KEY_F9}, {Qt::Key_F10, KEY_F10}, {Qt::Key_F11, KEY_F11}, {Qt::Key_F12, KEY_F12},
      {Qt::Key_Print, KEY_SYSRQ}, {Qt::Key_Pause, KEY_PAUSE}, {Qt::Key_Insert, KEY_INSERT},
      {Qt::Key_Home, KEY_HOME}, {Qt::Key_PageUp, KEY_PAGEUP}, {Qt::Key_Delete, KEY_DELETE},
      {Qt::Key_End, KEY_END}, {Qt::Key_PageDown, KEY_PAGEDOWN}, {Qt::Key_Right, KEY_RIGHT},
      {Qt::Key_Left, KEY_LEFT}, {Qt::Key_Down, KEY_DOWN}, {Qt::Key_Up, KEY_UP},
      {Qt::Key_Menu, KEY_COMPOSE}, {Qt::Key_Shift, KEY_LEFTSHIFT},
      {Qt::Key_Control, KEY_LEFTCTRL}, {Qt::Key_Alt, KEY_LEFTALT}, {Qt::Key_AltGr, KEY_RIGHTALT},
      {Qt::Key_Meta, KEY_LEFTMETA}, {Qt::Key_Super_L, KEY_LEFTMETA},
      {Qt::Key_Super_R, KEY_RIGHTMETA},
  };
  return keys;
}

const std::unordered_map<int, uint16_t>& KeypadKeys() {
  static const std::unordered_map<int, uint16_t> keys = {
      {Qt::Key_0, KEY_KP0}, {Qt::Key_1, KEY_KP1}, {Qt::Key_2, KEY_KP2}, {Qt::Key_3, KEY_KP3},
      {Qt::Key_4, KEY_KP4}, {Qt::Key_5, KEY_KP5}, {Qt::Key_6, KEY_KP6}, {Qt::Key_7, KEY_KP7},
      {Qt::Key_8, KEY_KP8}, {Qt::Key_9, KEY_KP9}, {Qt::Key_Slash, KEY_KPSLASH},
      {Qt::Key_Asterisk, KEY_KPASTERISK}, {Qt::Key_Minus, KEY_KPMINUS},
      {Qt::Key_Plus, KEY_KPPLUS}, {Qt::Key_Enter, KEY_KPENTER}, {Qt::Key_Period, KEY_KPDOT},
      {Qt::Key_Comma, KEY_KPDOT}, {Qt::Key_Delete, KEY_KPDOT},
  };
  return keys;
}

}  // namespace

std::optional<uint16_t> EvdevCodeOfNativeScanCode(uint32_t native_scan_code, const QString& platform) {
  const bool xkb = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
  if (!xkb || native_scan_code <= 8 || native_scan_code > 0xFFFF + 8) return std::nullopt;
  return static_cast<uint16_t>(native_scan_code - 8);
}

std::optional<uint16_t> EvdevCodeOfQtKey(int key, bool keypad, uint32_t native_virtual_key) {
  switch (native_virtual_key) {
    case kXkShiftR: return KEY_RIGHTSHIFT;
    case kXkControlR: return KEY_RIGHTCTRL;
    case kXkAltR:
    case kXkIsoLevel3Shift: return KEY_RIGHTALT;
    case kXkSuperR: return KEY_RIGHTMETA;
    default: break;
  }
  if (keypad) {
    const auto it = KeypadKeys().find(key);
    if (it != KeypadKeys().end()) return it->second;
  }
  const auto it = MainKeys().find(key);
  if (it == MainKeys().end()) return std::nullopt;
  return it->second;
}

std::optional<uint16_t> EvdevCodeOfKeyEvent(const QKeyEvent& event, const QString& platform) {
  if (const auto code = EvdevCodeOfNativeScanCode(event.nativeScanCode(), platform)) return code;
  return EvdevCodeOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier),
                          event.nativeVirtualKey());
}

}  // namespace vorlin
