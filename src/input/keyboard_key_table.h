#pragma once

// The keys a keyboard event can name: rows 0-112 of the key-name table, each with the scan code
// and extended-key flag of the key as the PC keyboard's set-1 scan codes give them. Key capture
// and macro recording find a pressed key by this pair.
//
// The pairs follow what a low-level keyboard hook reports, which differs from the plain scan-code
// set in three places: right Shift carries the extended flag, Num Lock is 45 extended and Pause is
// 45 without the flag.

#include <array>
#include <cstdint>
#include <optional>

namespace vorlin {

struct ScanCode {
  uint8_t code;
  bool extended;
  constexpr bool operator==(const ScanCode&) const = default;
};

inline constexpr int kKeyboardKeyRowCount = 113;

// Indexed by key-name table row.
inline constexpr std::array<ScanCode, kKeyboardKeyRowCount> kKeyboardScanCodes = {{
    {0x1D, false},  // 0 keyboard_key_LCtrl
    {0x2A, false},  // 1 keyboard_key_LShift
    {0x38, false},  // 2 keyboard_key_LAlt
    {0x5B, true},   // 3 keyboard_key_LWin
    {0x1D, true},   // 4 keyboard_key_RCtrl
    {0x36, true},   // 5 keyboard_key_RShift
    {0x38, true},   // 6 keyboard_key_RAlt
    {0x5C, true},   // 7 keyboard_key_RWin
    {0x1E, false},  // 8 keyboard_key_A
    {0x30, false},  // 9 keyboard_key_B
    {0x2E, false},  // 10 keyboard_key_C
    {0x20, false},  // 11 keyboard_key_D
    {0x12, false},  // 12 keyboard_key_E
    {0x21, false},  // 13 keyboard_key_F
    {0x22, false},  // 14 keyboard_key_G
    {0x23, false},  // 15 keyboard_key_H
    {0x17, false},  // 16 keyboard_key_I
    {0x24, false},  // 17 keyboard_key_J
    {0x25, false},  // 18 keyboard_key_K
    {0x26, false},  // 19 keyboard_key_L
    {0x32, false},  // 20 keyboard_key_M
    {0x31, false},  // 21 keyboard_key_N
    {0x18, false},  // 22 keyboard_key_O
    {0x19, false},  // 23 keyboard_key_P
    {0x10, false},  // 24 keyboard_key_Q
    {0x13, false},  // 25 keyboard_key_R
    {0x1F, false},  // 26 keyboard_key_S
    {0x14, false},  // 27 keyboard_key_T
    {0x16, false},  // 28 keyboard_key_U
    {0x2F, false},  // 29 keyboard_key_V
    {0x11, false},  // 30 keyboard_key_W
    {0x2D, false},  // 31 keyboard_key_X
    {0x15, false},  // 32 keyboard_key_Y
    {0x2C, false},  // 33 keyboard_key_Z
    {0x02, false},  // 34 keyboard_key_1
    {0x03, false},  // 35 keyboard_key_2
    {0x04, false},  // 36 keyboard_key_3
    {0x05, false},  // 37 keyboard_key_4
    {0x06, false},  // 38 keyboard_key_5
    {0x07, false},  // 39 keyboard_key_6
    {0x08, false},  // 40 keyboard_key_7
    {0x09, false},  // 41 keyboard_key_8
    {0x0A, false},  // 42 keyboard_key_9
    {0x0B, false},  // 43 keyboard_key_0
    {0x1C, false},  // 44 keyboard_key_Enter
    {0x01, false},  // 45 keyboard_key_Esc
    {0x0E, false},  // 46 keyboard_key_BackSpace
    {0x0F, false},  // 47 keyboard_key_Tab
    {0x39, false},  // 48 keyboard_key_Space
    {0x0C, false},  // 49 keyboard_key_-
    {0x0D, false},  // 50 keyboard_key_=
    {0x1A, false},  // 51 keyboard_key_[
    {0x1B, false},  // 52 keyboard_key_]
    {0x2B, false},  // 53 keyboard_key_xiegang
    {0x27, false},  // 54 keyboard_key_;
    {0x28, false},  // 55 keyboard_key_'
    {0x29, false},  // 56 keyboard_key_`
    {0x33, false},  // 57 keyboard_key_<
    {0x34, false},  // 58 keyboard_key_.
    {0x35, false},  // 59 keyboard_key_/
    {0x3A, false},  // 60 keyboard_key_Caplk
    {0x3B, false},  // 61 keyboard_key_F1
    {0x3C, false},  // 62 keyboard_key_F2
    {0x3D, false},  // 63 keyboard_key_F3
    {0x3E, false},  // 64 keyboard_key_F4
    {0x3F, false},  // 65 keyboard_key_F5
    {0x40, false},  // 66 keyboard_key_F6
    {0x41, false},  // 67 keyboard_key_F7
    {0x42, false},  // 68 keyboard_key_F8
    {0x43, false},  // 69 keyboard_key_F9
    {0x44, false},  // 70 keyboard_key_F10
    {0x57, false},  // 71 keyboard_key_F11
    {0x58, false},  // 72 keyboard_key_F12
    {0x37, true},   // 73 keyboard_key_Print Scr
    {0x46, false},  // 74 keyboard_key_Scroll Lock
    {0x45, false},  // 75 keyboard_key_Pause
    {0x52, true},   // 76 keyboard_key_Insert
    {0x47, true},   // 77 keyboard_key_Home
    {0x49, true},   // 78 keyboard_key_Page Up
    {0x53, true},   // 79 keyboard_key_Delete
    {0x4F, true},   // 80 keyboard_key_End
    {0x51, true},   // 81 keyboard_key_Page Down
    {0x4D, true},   // 82 keyboard_key_Right
    {0x4B, true},   // 83 keyboard_key_Left
    {0x50, true},   // 84 keyboard_key_Down
    {0x48, true},   // 85 keyboard_key_Up
    {0x45, true},   // 86 keyboard_key_Num Lock
    {0x35, true},   // 87 keyboard_key_Num /
    {0x37, false},  // 88 keyboard_key_Num *
    {0x4A, false},  // 89 keyboard_key_Num -
    {0x4E, false},  // 90 keyboard_key_Num +
    {0x1C, true},   // 91 keyboard_key_Num Enter
    {0x4F, false},  // 92 keyboard_key_Num 1
    {0x50, false},  // 93 keyboard_key_Num 2
    {0x51, false},  // 94 keyboard_key_Num 3
    {0x4B, false},  // 95 keyboard_key_Num 4
    {0x4C, false},  // 96 keyboard_key_Num 5
    {0x4D, false},  // 97 keyboard_key_Num 6
    {0x47, false},  // 98 keyboard_key_Num 7
    {0x48, false},  // 99 keyboard_key_Num 8
    {0x49, false},  // 100 keyboard_key_Num 9
    {0x52, false},  // 101 keyboard_key_Num 0
    {0x53, false},  // 102 keyboard_key_Decimal
    {0x5D, true},   // 103 keyboard_key_App
    {0x56, false},  // 104 keyboard_key_K45
    {0x73, false},  // 105 keyboard_key_K56
    {0x7D, false},  // 106 keyboard_key_K14
    {0x7E, false},  // 107 keyboard_key_K107
    {0x7B, false},  // 108 keyboard_key_K131
    {0x79, false},  // 109 keyboard_key_K132
    {0x70, false},  // 110 keyboard_key_K133
    {0x71, false},  // 111 keyboard_key_K150
    {0x72, false},  // 112 keyboard_key_K151
}};

// The first keyboard key row with this scan code and extended flag.
std::optional<int> FindKeyboardKeyRow(ScanCode scan);

}  // namespace vorlin
