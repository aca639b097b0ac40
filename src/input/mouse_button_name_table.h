#pragma once

// Names of the functions a mouse carries from the factory, including the special codes that the
// key-assignment panel never produces (smart key, DPI shift, show window).

#include <array>

#include "input/function_tables.h"

namespace vorlin {

inline constexpr std::array<FunctionRow, 15> kMouseButtonNameTable = {{
    {{0x10, 0x01, 0x00}, "mouse_key_left"},
    {{0x10, 0x04, 0x00}, "mouse_key_middle"},
    {{0x10, 0x02, 0x00}, "mouse_key_right"},
    {{0x10, 0x10, 0x00}, "mouse_key_forward"},
    {{0x10, 0x08, 0x00}, "mouse_key_back"},
    {{0x14, 0x50, 0x02}, "mouse_key_fire_key"},
    {{0x20, 0x00, 0x00}, "mouse_key_shortcut_key"},
    {{0x20, 0x80, 0x00}, "win_key_text"},
    {{0xA0, 0x02, 0x00}, "mouse_key_smart_key"},
    {{0xA0, 0x00, 0x00}, "com_key_nothing"},
    {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
    {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
    {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
    {{0x16, 0x00, 0x00}, "mouse_key_DPI_shift"},
    {{0x23, 0x00, 0x00}, "show_window"},
}};

}  // namespace vorlin
