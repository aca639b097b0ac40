#include "input/evdev_key_map.h"

#include <linux/input-event-codes.h>

#include <array>

namespace vorlin {
namespace {

// Indexed by keyboard key row. The keys are picked by the HID usage each row stands for, the way
// the kernel's HID driver names them; where one key code serves several usages (KEY_BACKSLASH for
// 0x31 and 0x32) the table's own row for it is the one listed.
// clang-format off
constexpr std::array<uint16_t, kKeyboardKeyRowCount> kEvdevCodes = {{
    KEY_LEFTCTRL, KEY_LEFTSHIFT, KEY_LEFTALT, KEY_LEFTMETA,                              // 0-3
    KEY_RIGHTCTRL, KEY_RIGHTSHIFT, KEY_RIGHTALT, KEY_RIGHTMETA,                          // 4-7
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L,  // 8-19
    KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X,  // 20-31
    KEY_Y, KEY_Z,                                                                        // 32-33
    KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0,                // 34-43
    KEY_ENTER, KEY_ESC, KEY_BACKSPACE, KEY_TAB, KEY_SPACE,                               // 44-48
    KEY_MINUS, KEY_EQUAL, KEY_LEFTBRACE, KEY_RIGHTBRACE, KEY_BACKSLASH,                  // 49-53
    KEY_SEMICOLON, KEY_APOSTROPHE, KEY_GRAVE, KEY_COMMA, KEY_DOT, KEY_SLASH,             // 54-59
    KEY_CAPSLOCK,                                                                        // 60
    KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10,     // 61-70
    KEY_F11, KEY_F12,                                                                    // 71-72
    KEY_SYSRQ, KEY_SCROLLLOCK, KEY_PAUSE,                                                // 73-75
    KEY_INSERT, KEY_HOME, KEY_PAGEUP, KEY_DELETE, KEY_END, KEY_PAGEDOWN,                 // 76-81
    KEY_RIGHT, KEY_LEFT, KEY_DOWN, KEY_UP,                                               // 82-85
    KEY_NUMLOCK, KEY_KPSLASH, KEY_KPASTERISK, KEY_KPMINUS, KEY_KPPLUS, KEY_KPENTER,      // 86-91
    KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4, KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9,     // 92-100
    KEY_KP0, KEY_KPDOT,                                                                  // 101-102
    KEY_COMPOSE,           // 103 application (menu) key, usage 0x65
    KEY_102ND,             // 104 the ISO key beside left Shift, usage 0x64
    KEY_RO,                // 105 usage 0x87
    KEY_YEN,               // 106 usage 0x89
    KEY_KPCOMMA,           // 107 usage 0x85
    KEY_MUHENKAN,          // 108 usage 0x8B
    KEY_HENKAN,            // 109 usage 0x8A
    KEY_KATAKANAHIRAGANA,  // 110 usage 0x88
    KEY_HANJA,             // 111 usage 0x91
    KEY_HANGEUL,           // 112 usage 0x90
}};
// clang-format on

}  // namespace

std::optional<uint16_t> EvdevCodeOfKeyRow(int row) {
  if (row < 0 || row >= kKeyboardKeyRowCount) return std::nullopt;
  return kEvdevCodes[static_cast<size_t>(row)];
}

std::optional<int> KeyRowOfEvdevCode(uint16_t evdev_code) {
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    if (kEvdevCodes[static_cast<size_t>(row)] == evdev_code) return row;
  }
  return std::nullopt;
}

std::optional<ScanCode> ScanCodeOfEvdevCode(uint16_t evdev_code) {
  const auto row = KeyRowOfEvdevCode(evdev_code);
  if (!row) return std::nullopt;
  return kKeyboardScanCodes[static_cast<size_t>(*row)];
}

}  // namespace vorlin
