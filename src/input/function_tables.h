#pragma once

// The built-in lists of selectable functions, one per table kind of the key-assignment panel. Row
// n is item n of the kind's combo box; every name is a text key of the language files.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "input/function_code.h"
#include "input/panel_kind.h"

namespace vorlin {

struct FunctionRow {
  FunctionCode code;
  std::string_view name;
};

// "keyset_mousekey_combo"
inline constexpr std::array<FunctionRow, 5> kMouseButtonFunctions = {{
    {{0x10, 0x01, 0x00}, "mouse_key_left"},
    {{0x10, 0x04, 0x00}, "mouse_key_middle"},
    {{0x10, 0x02, 0x00}, "mouse_key_right"},
    {{0x10, 0x10, 0x00}, "mouse_key_forward"},
    {{0x10, 0x08, 0x00}, "mouse_key_back"},
}};

// "keyset_mousedpi_combo"
inline constexpr std::array<FunctionRow, 3> kDpiFunctions = {{
    {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
    {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
    {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
}};

// "keyset_media_combo": consumer usages, low byte second, high byte third.
inline constexpr std::array<FunctionRow, 18> kMediaFunctions = {{
    {{0x30, 0x83, 0x01}, "media_text"},
    {{0x30, 0xCD, 0x00}, "media_play"},
    {{0x30, 0xB7, 0x00}, "media_stop"},
    {{0x30, 0xB6, 0x00}, "media_prev"},
    {{0x30, 0xB5, 0x00}, "media_next"},
    {{0x30, 0xEA, 0x00}, "media_vol_sub"},
    {{0x30, 0xE9, 0x00}, "media_vol_add"},
    {{0x30, 0xE2, 0x00}, "media_mute"},
    {{0x30, 0x23, 0x02}, "web_text"},
    {{0x30, 0x27, 0x02}, "web_refresh"},
    {{0x30, 0x26, 0x02}, "wed_stop"},
    {{0x30, 0x24, 0x02}, "wed_back"},
    {{0x30, 0x25, 0x02}, "wed_forward"},
    {{0x30, 0x2A, 0x02}, "wed_favorite"},
    {{0x30, 0x21, 0x02}, "web_search"},
    {{0x30, 0x94, 0x01}, "media_mypc"},
    {{0x30, 0x92, 0x01}, "media_calc"},
    {{0x30, 0x8A, 0x01}, "media_mail"},
}};

// "keyset_system_combo"
inline constexpr std::array<FunctionRow, 3> kSystemFunctions = {{
    {{0x40, 0x01, 0x00}, "system_power"},
    {{0x40, 0x02, 0x00}, "system_sleep"},
    {{0x40, 0x04, 0x00}, "system_wake_up"},
}};

// "keyset_combokey_combo": the built-in shortcuts, right Ctrl with a key.
inline constexpr std::array<FunctionRow, 11> kCombinationFunctions = {{
    {{0x20, 0x10, 0x12}, "custem_open"},
    {{0x20, 0x10, 0x11}, "custem_new"},
    {{0x20, 0x10, 0x1D}, "custem_undo"},
    {{0x20, 0x10, 0x16}, "custem_save"},
    {{0x20, 0x10, 0x06}, "custem_copy"},
    {{0x20, 0x10, 0x1B}, "custem_cut"},
    {{0x20, 0x10, 0x19}, "custem_paste"},
    {{0x20, 0x10, 0x09}, "custem_find"},
    {{0x20, 0x10, 0x04}, "custem_select_all"},
    {{0x20, 0x10, 0x2D}, "custem_narrow"},
    {{0x20, 0x10, 0x2E}, "custem_magnify"},
}};

// "keyset_gunkey_combo": recoil patterns 0 to 3 (code 72 nn 00).
inline constexpr std::array<FunctionRow, 4> kGunKeyFunctions = {{
    {{0x72, 0x00, 0x00}, "gun_1_txt"},
    {{0x72, 0x01, 0x00}, "gun_2_txt"},
    {{0x72, 0x02, 0x00}, "gun_3_txt"},
    {{0x72, 0x03, 0x00}, "gun_4_txt"},
}};

// The table of a table kind (mouse button, DPI, media, system, gun key, combination); empty for
// the kinds that are not a list of fixed codes.
std::span<const FunctionRow> FunctionTableOf(PanelKind kind);

// The first row whose code equals `code`.
std::optional<int> FindFunctionRow(std::span<const FunctionRow> table, FunctionCode code);

}  // namespace vorlin
